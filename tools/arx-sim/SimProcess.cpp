#include "SimProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace arxsim {

namespace {

// Generous: the emulator only opens sockets before it is ready.
constexpr int ReadyTimeoutMs = 10000;

int statusOf(int waitStatus)
{
    if (WIFEXITED(waitStatus))
        return WEXITSTATUS(waitStatus);
    if (WIFSIGNALED(waitStatus))
        return 128 + WTERMSIG(waitStatus);
    return -1;
}

int waitFor(pid_t pid)
{
    int waitStatus = 0;
    while (::waitpid(pid, &waitStatus, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return statusOf(waitStatus);
}

// In the child: become `program` with `arguments`, or leave with status 127.
[[noreturn]] void execute(const std::string &program, const std::vector<std::string> &arguments)
{
    // Never outlive the test that started us.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

void redirect(int fd, int target)
{
    if (fd != target) {
        ::dup2(fd, target);
        ::close(fd);
    }
}

std::string readAll(int fd)
{
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

} // namespace

std::string SimProcess::defaultProgram()
{
    return ARX_SIM_PROGRAM;
}

SimProcess::SimProcess(
    std::vector<std::string> arguments, const std::string &logPath, const std::string &program)
{
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
    if (std::find(arguments.begin(), arguments.end(), "--control") == arguments.end()) {
        arguments.push_back("--control");
        arguments.push_back("0");
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        const int readyFd = ::dup(ready[1]); // without close-on-exec
        arguments.push_back("--ready-fd");
        arguments.push_back(std::to_string(readyFd));
        const int log = logPath.empty()
            ? ::open("/dev/null", O_WRONLY)
            : ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0)
            redirect(log, STDOUT_FILENO);
        execute(program, arguments);
    }
    ::close(ready[1]);
    if (pid_ < 0) {
        ::close(ready[0]);
        throw std::runtime_error(std::string("cannot start arx-sim: ") + std::strerror(errno));
    }

    std::string line;
    pollfd wait { ready[0], POLLIN, 0 };
    while (line.find('\n') == std::string::npos && ::poll(&wait, 1, ReadyTimeoutMs) > 0) {
        char buffer[128];
        const ssize_t n = ::read(ready[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        line.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(ready[0]);
    const std::string prefix = "ready control=";
    if (!line.starts_with(prefix)) {
        const int status = stop();
        throw std::runtime_error(program + " did not come up (exit status " + std::to_string(status)
            + "); its complaint is above");
    }
    const std::string control = line.substr(prefix.size(), line.find('\n') - prefix.size());
    if (const auto endpoint = parseEndpoint(control))
        control_ = *endpoint;
}

SimProcess::~SimProcess()
{
    stop();
}

int SimProcess::stop()
{
    if (pid_ <= 0)
        return -1;
    ::kill(pid_, SIGTERM);
    const int status = waitFor(pid_);
    pid_ = -1;
    return status;
}

SimProcess::Finished SimProcess::runToEnd(
    const std::vector<std::string> &arguments, const std::string &program)
{
    int output[2];
    int errors[2];
    if (::pipe2(output, O_CLOEXEC) != 0 || ::pipe2(errors, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        ::dup2(errors[1], STDERR_FILENO);
        execute(program, arguments);
    }
    ::close(output[1]);
    ::close(errors[1]);
    // Both outputs are short; standard error is read after standard output has closed.
    Finished finished { 0, readAll(output[0]), readAll(errors[0]) };
    ::close(output[0]);
    ::close(errors[0]);
    finished.status = pid > 0 ? waitFor(pid) : -1;
    return finished;
}

} // namespace arxsim
