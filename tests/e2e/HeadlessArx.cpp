#include "HeadlessArx.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace arx::test {

namespace {

using Clock = std::chrono::steady_clock;

int statusOf(int waitStatus)
{
    if (WIFEXITED(waitStatus))
        return WEXITSTATUS(waitStatus);
    return WIFSIGNALED(waitStatus) ? 128 + WTERMSIG(waitStatus) : -1;
}

// Starts `program` with its outputs in the given descriptors (-1: left as they are).
pid_t spawn(const std::string &program, const std::vector<std::string> &arguments, int out, int err)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (out >= 0)
        ::dup2(out, STDOUT_FILENO);
    if (err >= 0)
        ::dup2(err, STDERR_FILENO);
    std::vector<char *> argv { const_cast<char *>(program.c_str()) };
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

std::string readAll(int fd)
{
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

sockaddr_in socketAddress(const std::string &address, std::uint16_t port)
{
    sockaddr_in result {};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    ::inet_pton(AF_INET, address.c_str(), &result.sin_addr);
    return result;
}

} // namespace

HeadlessArx::HeadlessArx(const std::vector<std::string> &arguments, std::string logPath)
    : logPath_(std::move(logPath))
{
    const int log = ::open(logPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    std::vector<std::string> all { "--headless" };
    all.insert(all.end(), arguments.begin(), arguments.end());
    pid_ = spawn(ARX_PROGRAM, all, -1, log);
    ::close(log);
    const std::string marker = "room control on ";
    for (const auto until = Clock::now() + std::chrono::seconds(10); Clock::now() < until;) {
        const std::string text = this->log();
        if (const std::size_t at = text.find(marker); at != std::string::npos) {
            const std::size_t end = text.find('\n', at);
            const std::size_t colon = text.rfind(':', end);
            if (end != std::string::npos && colon != std::string::npos && colon > at) {
                port_ = static_cast<std::uint16_t>(
                    std::stoi(text.substr(colon + 1, end - colon - 1)));
                return;
            }
        }
        if (exitStatus(std::chrono::milliseconds(10)))
            return;
    }
}

HeadlessArx::~HeadlessArx()
{
    terminate();
}

std::optional<int> HeadlessArx::exitStatus(std::chrono::milliseconds timeout)
{
    for (const auto until = Clock::now() + timeout; pid_ > 0;) {
        int waitStatus = 0;
        if (::waitpid(pid_, &waitStatus, WNOHANG) == pid_) {
            pid_ = -1;
            ended_ = statusOf(waitStatus);
            break;
        }
        if (Clock::now() >= until)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ended_;
}

std::optional<int> HeadlessArx::terminate(std::chrono::milliseconds timeout)
{
    if (pid_ <= 0)
        return ended_;
    ::kill(pid_, SIGTERM);
    if (const auto status = exitStatus(timeout))
        return status;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
    return std::nullopt;
}

std::string HeadlessArx::log() const
{
    std::ifstream file(logPath_);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

RawControlClient::RawControlClient(
    const std::string &address, std::uint16_t port, const std::string &source)
{
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (!source.empty()) {
        const sockaddr_in from = socketAddress(source, 0);
        ::bind(fd_, reinterpret_cast<const sockaddr *>(&from), sizeof from);
    }
    const sockaddr_in to = socketAddress(address, port);
    if (::connect(fd_, reinterpret_cast<const sockaddr *>(&to), sizeof to) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

RawControlClient::~RawControlClient()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool RawControlClient::sendBytes(const std::string &bytes)
{
    std::size_t sent = 0;
    while (fd_ >= 0 && sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return fd_ >= 0;
}

std::optional<std::string> RawControlClient::line(std::chrono::milliseconds timeout)
{
    const auto until = Clock::now() + timeout;
    for (;;) {
        if (const std::size_t end = pending_.find("\r\n"); end != std::string::npos) {
            std::string text = pending_.substr(0, end);
            pending_.erase(0, end + 2);
            return text;
        }
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
        pollfd wait { fd_, POLLIN, 0 };
        // A time-out of 0 still takes what has arrived.
        const int waitMs = static_cast<int>(std::max<std::int64_t>(left.count(), 0));
        if (ended_ || ::poll(&wait, 1, waitMs) <= 0)
            return std::nullopt;
        char buffer[4096];
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0) {
            ended_ = true;
            return std::nullopt;
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

bool RawControlClient::waitFor(
    const std::string &wanted, std::vector<std::string> *seen, std::chrono::milliseconds timeout)
{
    const auto until = Clock::now() + timeout;
    while (Clock::now() < until) {
        const auto text
            = line(std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()));
        if (!text)
            return false;
        if (seen)
            seen->push_back(*text);
        if (*text == wanted)
            return true;
    }
    return false;
}

bool RawControlClient::closedByArx(std::chrono::milliseconds timeout)
{
    const auto until = Clock::now() + timeout;
    while (!ended_ && Clock::now() < until) {
        pollfd wait { fd_, POLLIN, 0 };
        if (::poll(&wait, 1, 50) <= 0)
            continue;
        char buffer[65536];
        if (::recv(fd_, buffer, sizeof buffer, 0) <= 0)
            ended_ = true;
    }
    return ended_;
}

ArxctlRun runArxctl(
    const std::string &address, std::uint16_t port, std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), { "--connect", address + ":" + std::to_string(port) });
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    const pid_t pid = spawn(ARXCTL_PROGRAM, arguments, out[1], err[1]);
    ::close(out[1]);
    ::close(err[1]);
    ArxctlRun run;
    // Both are small; standard error is read once standard output has ended.
    run.output = readAll(out[0]);
    run.errors = readAll(err[0]);
    ::close(out[0]);
    ::close(err[0]);
    int waitStatus = 0;
    ::waitpid(pid, &waitStatus, 0);
    run.status = statusOf(waitStatus);
    return run;
}

} // namespace arx::test
