// The program's command line, answered before any window system is asked for.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

struct Finished {
    int status;
    std::string output;
};

// Runs arx without a display (no X, no Wayland, no platform chosen), both outputs together.
Finished runWithoutDisplay(const std::string &arguments)
{
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '"
        + std::string(ARX_PROGRAM) + "' " + arguments + " 2>&1";
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return { -1, {} };
    std::string output;
    char buffer[256];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    const int status = ::pclose(pipe);
    return { WIFEXITED(status) ? WEXITSTATUS(status) : -1, output };
}

TEST(CommandLine, VersionAndHelpNeedNoDisplay)
{
    const Finished version = runWithoutDisplay("--version");
    EXPECT_EQ(version.status, 0) << version.output;
    EXPECT_EQ(version.output, "ARX " ARX_VERSION "\n") << "the project's version";

    const Finished help = runWithoutDisplay("--help");
    EXPECT_EQ(help.status, 0) << help.output;
    EXPECT_NE(help.output.find("--interface <ADDRESS>"), std::string::npos) << help.output;
    EXPECT_NE(help.output.find("--journal <FILE>"), std::string::npos) << help.output;
    EXPECT_NE(help.output.find("--check-interval <SECONDS>"), std::string::npos) << help.output;
}

TEST(CommandLine, AddressThatIsNotDottedIPv4IsRefusedWithoutADisplay)
{
    for (const char *address : { "foo", "192.168.0", "300.1.1.1" }) {
        const Finished run = runWithoutDisplay(std::string("--interface ") + address);
        EXPECT_EQ(run.status, 2) << address << ": " << run.output;
        EXPECT_NE(run.output.find("needs a dotted IPv4 address"), std::string::npos) << run.output;
    }
}

TEST(CommandLine, CheckIntervalUnderThreeSecondsIsRefusedButZeroSwitchesTheCheckOff)
{
    for (const char *seconds : { "2", "1", "-5", "ten", "86401" }) {
        const Finished run = runWithoutDisplay(std::string("--check-interval ") + seconds);
        EXPECT_EQ(run.status, 2) << seconds << ": " << run.output;
        EXPECT_NE(run.output.find("--check-interval needs 0"), std::string::npos) << run.output;
    }
    for (const char *seconds : { "0", "3" }) {
        const Finished run = runWithoutDisplay(std::string("--check-interval ") + seconds);
        EXPECT_EQ(run.status, 1) << seconds << ": accepted, then no display; " << run.output;
    }
}

} // namespace

namespace {

TEST(CommandLine, WithoutADisplayTheProgramSaysSoInsteadOfAborting)
{
    const Finished run = runWithoutDisplay("--interface 127.0.2.80");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("no display found"), std::string::npos) << run.output;
}

} // namespace
