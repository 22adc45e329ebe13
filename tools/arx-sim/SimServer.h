#pragma once

#include "ControlCommands.h"
#include "FrameLog.h"
#include "Room.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace arxsim {

// Moves the room's datagrams: one socket per device and one for the search group, a control
// channel on TCP, all served by one poll loop.
class SimServer : private RoomActions {
public:
    SimServer(Room &room, FrameLog &log);
    ~SimServer() override;
    SimServer(const SimServer &) = delete;
    SimServer &operator=(const SimServer &) = delete;

    // Opens every socket; an error text when one cannot be opened.
    std::optional<std::string> open(const std::optional<Endpoint> &control);
    // Where the control channel listens, once open.
    std::optional<Endpoint> controlEndpoint() const { return controlEndpoint_; }

    // Serves until "quit" or SIGINT/SIGTERM.
    void run();

private:
    struct ControlClient {
        int fd;
        std::string input;
    };

    void send(const Outgoing &outgoing) override;
    Traffic traffic() const override { return traffic_; }
    std::optional<std::string> rebindUnit(int unit, Ipv4 address) override;
    void quit() override { running_ = false; }

    double elapsedSeconds() const;
    void receiveSearch();
    void receiveUnit(int unit);
    void receiveProcessor();
    void acceptControl();
    // False when the client has gone and must be closed.
    bool serveControl(ControlClient &client);
    // Returns how many of `sends` the network stack took.
    std::uint64_t sendAll(const std::vector<Outgoing> &sends);
    bool transmit(const Outgoing &outgoing);
    int socketOf(const Device &device) const;
    Endpoint endpointOf(const Device &device) const;

    Room &room_;
    FrameLog &log_;
    int searchFd_ = -1;
    std::vector<int> unitFds_;
    int processorFd_ = -1;
    int controlFd_ = -1;
    int signalFd_ = -1;
    std::vector<ControlClient> clients_;
    std::optional<Endpoint> controlEndpoint_;
    Traffic traffic_;
    bool running_ = true;
    std::chrono::steady_clock::time_point start_;
};

} // namespace arxsim
