#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace arx::test {

// `arx --headless` as a child process, for end-to-end tests: started with the arguments given
// (a --control port 0 among them, so the system picks one) and waited for until it says
// where the room-control port listens. Its standard error goes to `logPath`. Ended with
// SIGTERM when the object goes, or with the test process.
class HeadlessArx {
public:
    HeadlessArx(const std::vector<std::string> &arguments, std::string logPath);
    ~HeadlessArx();
    HeadlessArx(const HeadlessArx &) = delete;
    HeadlessArx &operator=(const HeadlessArx &) = delete;

    // The room-control port; 0 when the program never said where it listens.
    std::uint16_t controlPort() const { return port_; }
    // Waits for the program to end by itself: its exit status, or nothing after `timeout`.
    std::optional<int> exitStatus(std::chrono::milliseconds timeout);
    // Sends SIGTERM and waits; the exit status (128 + signal when one ended it), or nothing
    // when it had not ended within `timeout` (it is killed then).
    std::optional<int> terminate(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    std::string log() const;
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::string logPath_;
    std::uint16_t port_ = 0;
    std::optional<int> ended_; // the exit status once it has ended
};

// One client of the room-control port over a plain TCP socket, as a panel would be.
class RawControlClient {
public:
    // Connects to 127.0.150.1-style `address` and `port`, from `source` when one is given.
    RawControlClient(
        const std::string &address, std::uint16_t port, const std::string &source = {});
    ~RawControlClient();
    RawControlClient(const RawControlClient &) = delete;
    RawControlClient &operator=(const RawControlClient &) = delete;

    bool connected() const { return fd_ >= 0; }
    // Sends the bytes as they are; false once the connection is gone.
    bool sendBytes(const std::string &bytes);
    bool sendLine(const std::string &line) { return sendBytes(line + "\r\n"); }
    // The next line (without its end) within `timeout`; nothing on a time-out or at the end.
    std::optional<std::string> line(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Lines until one equals `wanted` (true) or none comes within `timeout`; all read go to
    // `seen` when given.
    bool waitFor(const std::string &wanted, std::vector<std::string> *seen = nullptr,
        std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // True when ARX ends the connection within `timeout` (what was still unread is skipped).
    bool closedByArx(std::chrono::milliseconds timeout = std::chrono::seconds(5));

private:
    int fd_ = -1;
    std::string pending_;
    bool ended_ = false;
};

// arxctl run to its end.
struct ArxctlRun {
    int status = -1;
    std::string output; // standard output
    std::string errors; // standard error
};
// arxctl against the room-control port at `address`:`port`.
ArxctlRun runArxctl(
    const std::string &address, std::uint16_t port, std::vector<std::string> arguments);

} // namespace arx::test
