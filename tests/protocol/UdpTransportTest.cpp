#include "protocol/CommandSocket.h"
#include "protocol/UdpTransport.h"

#include "ScriptedPrompts.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

namespace arx {
namespace {

// This test's private loopback subnet.
constexpr const char *OwnAddress = "127.0.2.1";
constexpr const char *PeerAddress = "127.0.2.10";
constexpr std::uint16_t TestPort = 39030;

// A peer socket on its own loopback address, like a unit on the network.
class Peer {
public:
    explicit Peer(const char *address) : fd_(::socket(AF_INET, SOCK_DGRAM, 0))
    {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        inet_pton(AF_INET, address, &local.sin_addr);
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr *>(&local), sizeof local), 0);
    }
    ~Peer() { ::close(fd_); }

    void sendTo(const char *address, std::uint16_t port, const std::vector<std::uint8_t> &bytes)
    {
        sockaddr_in destination{};
        destination.sin_family = AF_INET;
        destination.sin_port = htons(port);
        inet_pton(AF_INET, address, &destination.sin_addr);
        ASSERT_EQ(::sendto(fd_, bytes.data(), bytes.size(), 0,
                           reinterpret_cast<sockaddr *>(&destination), sizeof destination),
                  static_cast<ssize_t>(bytes.size()));
    }

private:
    int fd_;
};

class Inbox {
public:
    void put(const Datagram &datagram)
    {
        std::lock_guard lock(mutex_);
        datagrams_.push_back(datagram);
        arrived_.notify_all();
    }
    // Waits until `count` datagrams have arrived (or a generous hang guard has passed).
    std::vector<Datagram> waitFor(std::size_t count)
    {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, std::chrono::seconds(5),
                          [&] { return datagrams_.size() >= count; });
        return datagrams_;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Datagram> datagrams_;
};

class UdpTransportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(transport.open(OwnAddress, TestPort));
        transport.start([this](const Datagram &datagram) { inbox.put(datagram); });
    }
    UdpTransport transport;
    Inbox inbox;
    Peer peer{PeerAddress};
};

TEST_F(UdpTransportTest, DeliversA128ByteDatagramWholeAndDropsA129ByteOne)
{
    peer.sendTo(OwnAddress, TestPort, std::vector<std::uint8_t>(129, 0x11));
    peer.sendTo(OwnAddress, TestPort, std::vector<std::uint8_t>(128, 0x22));
    // A marker after both, so that the dropped one has certainly been looked at.
    peer.sendTo(OwnAddress, TestPort, {0x25, 0x42, 0x23});

    const auto received = inbox.waitFor(2);
    ASSERT_EQ(received.size(), 2u) << "the 129-byte datagram must be dropped";
    EXPECT_EQ(received[0].length, 128u);
    EXPECT_EQ(received[0].bytes[127], 0x22);
    EXPECT_EQ(received[0].sender, PeerAddress);
    EXPECT_EQ(received[1].length, 3u);
}

TEST_F(UdpTransportTest, NeverDeliversAZeroLengthDatagram)
{
    peer.sendTo(OwnAddress, TestPort, {});
    peer.sendTo(OwnAddress, TestPort, {0x25, 0x23});
    const auto received = inbox.waitFor(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].length, 2u);
}

TEST_F(UdpTransportTest, BytesAfterAShortDatagramReadAsZero)
{
    peer.sendTo(OwnAddress, TestPort, std::vector<std::uint8_t>(128, 0xFF));
    peer.sendTo(OwnAddress, TestPort, {0x25, 0x47, 0x05, 0x23});
    const auto received = inbox.waitFor(2);
    ASSERT_EQ(received.size(), 2u);
    const Datagram &shortOne = received[1];
    EXPECT_EQ(shortOne.length, 4u);
    for (std::size_t i = 4; i < DatagramCapacity; ++i)
        ASSERT_EQ(shortOne.bytes[i], 0) << "byte " << i;
}

TEST_F(UdpTransportTest, SendsFromTheCommandSocketAndStopsPromptly)
{
    Peer unit{"127.0.2.11"};
    const std::uint8_t frame[] = {0x25, 0x46, 0x01, 0x23};
    EXPECT_TRUE(transport.send("127.0.2.11", TestPort, frame));
    EXPECT_FALSE(transport.send("not an address", TestPort, frame));

    const auto before = std::chrono::steady_clock::now();
    transport.stop();
    const auto took = std::chrono::steady_clock::now() - before;
    // A hang guard, not a speed target: the thread blocks on the stop descriptor.
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_FALSE(transport.isOpen());
    EXPECT_FALSE(transport.send("127.0.2.11", TestPort, frame)) << "no socket after stop";
    transport.stop(); // a second stop is harmless
}

TEST(UdpTransportRestart, ATransportStoppedAndStartedAgainStillReceives)
{
    UdpTransport transport;
    Inbox inbox;
    Peer peer{PeerAddress};
    ASSERT_TRUE(transport.open(OwnAddress, TestPort));
    transport.start([&](const Datagram &datagram) { inbox.put(datagram); });
    transport.stop();

    ASSERT_TRUE(transport.open(OwnAddress, TestPort));
    transport.start([&](const Datagram &datagram) { inbox.put(datagram); });
    peer.sendTo(OwnAddress, TestPort, {0x25, 0x47, 0x01, 0x23});
    EXPECT_EQ(inbox.waitFor(1).size(), 1u);
    transport.stop();
}

// Datagrams that wait when the thread starts are read several at a time: each batch comes in
// one call, in the order sent, and the empty and over-long ones among them are reported
// once each, with their real length, and never delivered.
TEST(UdpTransportBatches, AWaitingBurstArrivesInBatchesInOrderWithEachDropReportedOnce)
{
    UdpTransport transport;
    ASSERT_TRUE(transport.open(OwnAddress, TestPort));
    Peer peer { PeerAddress };
    constexpr int Burst = 150;
    for (int i = 0; i < Burst; ++i) {
        peer.sendTo(OwnAddress, TestPort, { 0x25, 0x47, static_cast<std::uint8_t>(i), 0x23 });
        if (i == 40)
            peer.sendTo(OwnAddress, TestPort, {});
        if (i == 90)
            peer.sendTo(OwnAddress, TestPort, std::vector<std::uint8_t>(200, 0x25));
    }

    std::mutex mutex;
    std::condition_variable done;
    std::vector<int> levels;
    std::size_t largestBatch = 0;
    std::vector<std::pair<DropReason, std::size_t>> drops;
    transport.setDropped([&](const Datagram &, DropReason reason, std::size_t length) {
        std::lock_guard lock(mutex);
        drops.emplace_back(reason, length);
    });
    transport.startBatches([&](std::span<const Datagram> batch) {
        std::lock_guard lock(mutex);
        largestBatch = std::max(largestBatch, batch.size());
        for (const Datagram &datagram : batch)
            levels.push_back(datagram.bytes[2]);
        done.notify_all();
    });
    {
        std::unique_lock lock(mutex);
        done.wait_for(lock, std::chrono::seconds(5), [&] { return levels.size() >= Burst; });
    }
    transport.stop();

    ASSERT_EQ(levels.size(), static_cast<std::size_t>(Burst));
    for (int i = 0; i < Burst; ++i)
        ASSERT_EQ(levels[static_cast<std::size_t>(i)], i) << "out of order at " << i;
    EXPECT_GT(largestBatch, 1u) << "a waiting burst is read more than one at a time";
    EXPECT_EQ(drops,
        (std::vector<std::pair<DropReason, std::size_t>> {
            { DropReason::Empty, 0 }, { DropReason::TooLong, 200 } }));
}

TEST(CommandSocket, PortAlreadyTakenTellsTheOperatorOnceAndRunsOnWithoutSocket)
{
    UdpTransport first;
    ASSERT_TRUE(first.open("127.0.2.20", TestPort));

    test::ScriptedPrompts prompts;
    UdpTransport second;
    EXPECT_FALSE(openCommandSocket(second, "127.0.2.20", prompts));
    EXPECT_EQ(prompts.shown, std::vector<std::string>{"Winsock error!"});
    second.start([](const Datagram &) {}); // no socket: no thread, no crash
    const std::uint8_t frame[] = {0x25, 0x23};
    EXPECT_FALSE(second.send("127.0.2.10", TestPort, frame));
}

TEST(CommandSocket, OpensOnTheGivenInterfaceWithoutAMessage)
{
    test::ScriptedPrompts prompts;
    UdpTransport transport;
    EXPECT_TRUE(openCommandSocket(transport, "127.0.2.30", prompts));
    EXPECT_TRUE(prompts.shown.empty());
}

} // namespace
} // namespace arx
