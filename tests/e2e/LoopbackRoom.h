#pragma once

#include "CountingView.h"
#include "DatagramQueue.h"
#include "FakeFiles.h"
#include "ScriptedPrompts.h"
#include "SimControl.h"
#include "SimProcess.h"

#include "model/Store.h"
#include "protocol/Discovery.h"
#include "protocol/UdpTransport.h"
#include "room/Room.h"
#include "seams/Clock.h"

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace arx::e2e {

// How long a wait may take before the test calls it a hang. Far beyond what any step needs
// on a loaded machine, so that a failure means a fault and not a slow run.
constexpr std::chrono::milliseconds HangGuard { 15000 };

// The application's protocol objects bound to 127.0.N.1 (`--interface 127.0.N.1`) and an
// arx-sim room on 127.0.N.0/24, both on loopback. Datagrams go from the receive thread into a
// queue; `pumpUntil` hands them to the discovery on the test's thread, as the user-interface
// thread does in the program. The clock is manual, so connection retries happen when a test
// says so while every frame crosses the wire for real.
class LoopbackRoom {
    // First, so that everything below can use them while being made.
    std::string subnet_;
    DatagramQueue queue_;
    std::map<std::string, int> delivered_;

public:
    // `subnet` is the first three numbers ("127.0.20"); `simArguments` follow --subnet.
    // Throws std::runtime_error when the command socket cannot be opened.
    LoopbackRoom(const std::string &subnet, const std::vector<std::string> &simArguments,
        const std::string &logPath);
    ~LoopbackRoom();
    LoopbackRoom(const LoopbackRoom &) = delete;
    LoopbackRoom &operator=(const LoopbackRoom &) = delete;

    std::string appAddress() const { return subnet_ + ".1"; }
    std::string unitAddress(int number) const { return subnet_ + "." + std::to_string(9 + number); }
    std::string processorAddress() const { return subnet_ + ".200"; }
    std::string address(int host) const { return subnet_ + "." + std::to_string(host); }

    // Hands every datagram that has come to the discovery until `done` holds; false when it
    // still does not after `guard`. `done` is asked after each batch and at least every 10 ms.
    bool pumpUntil(const std::function<bool()> &done, std::chrono::milliseconds guard = HangGuard);

    // Datagrams from `address` handed to the discovery so far.
    int deliveredFrom(const std::string &address) const;
    // Occupied slots of the unit table.
    int registeredUnits() const;

    // The search, and a wait until every unit of 1..`units` has received `attachFrames`
    // frames (its attach answers to the two announcements). False on a hang.
    bool searchAndSettle(int units, int attachFrames = 2);

    Store store;
    ManualClock clock;
    test::ScriptedPrompts prompts;
    CountingView view;
    arxsim::SimProcess sim;
    arxsim::SimControl control;
    test::FakeFiles files;
    // After the queue, so that the receive thread has stopped before the queue goes.
    UdpTransport transport;
    Room room;
    // The room's, which the view observes.
    Discovery &discovery;

private:
    void deliver(const Datagram &datagram);
};

} // namespace arx::e2e
