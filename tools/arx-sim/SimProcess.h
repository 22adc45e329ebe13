#pragma once

#include "Ipv4.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace arxsim {

// arx-sim as a child process, for tests: started, waited for until every socket is open, and
// ended with SIGTERM when the object goes (or with the test process, should that die first).
class SimProcess {
public:
    // Starts arx-sim with `arguments`; a control channel on a free loopback port is added
    // unless they name one. The frame log goes to `logPath`, or nowhere when it is empty.
    // Throws std::runtime_error when the emulator does not come up.
    explicit SimProcess(std::vector<std::string> arguments, const std::string &logPath = {},
        const std::string &program = defaultProgram());
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Where the control channel listens (address 0 when there is none).
    Endpoint control() const { return control_; }
    // Ends the emulator and returns its exit status (128 + signal when a signal ended it).
    int stop();

    // The arx-sim of this build.
    static std::string defaultProgram();

    struct Finished {
        int status;
        std::string output; // standard output
        std::string errors; // standard error
    };
    // Runs arx-sim to its end, for command lines that do not start a room (--help, refusals).
    static Finished runToEnd(
        const std::vector<std::string> &arguments, const std::string &program = defaultProgram());

private:
    pid_t pid_ = -1;
    Endpoint control_;
};

} // namespace arxsim
