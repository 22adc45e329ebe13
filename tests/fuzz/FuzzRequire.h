#pragma once

namespace arx {

// A broken property stops the fuzzer where it is, with the input that broke it.
inline void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace arx
