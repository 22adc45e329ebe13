#pragma once

#include <cstdio>

// The build type a benchmark ran with, printed first: numbers from a build without
// optimisation are not comparable.
inline void printBuildType()
{
#ifdef ARX_BUILD_TYPE
    const char *type = ARX_BUILD_TYPE;
#else
    const char *type = "";
#endif
    std::printf("build type: %s\n", *type ? type : "(none: no optimisation)");
}
