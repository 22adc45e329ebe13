#include "protocol/PacedLink.h"
#include "protocol/ReplyParser.h"
#include "protocol/Senders.h"

#include "DeviceFrames.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace arx {
namespace {

// This test's private loopback subnet.
constexpr const char *OwnAddress = "127.0.40.1";
constexpr const char *UnitAddress = "127.0.40.10";
constexpr const char *OtherUnitAddress = "127.0.40.11";
constexpr std::uint16_t Port = 39030;

using Bytes = std::vector<std::uint8_t>;

// A unit's socket that reads each datagram with the kernel's arrival time, so that a gap
// measured here cannot be shortened by the test being scheduled late.
class StampedReceiver {
public:
    struct Arrival {
        Bytes bytes;
        std::int64_t atNs = 0;
    };

    explicit StampedReceiver(const char *address)
        : fd_(::socket(AF_INET, SOCK_DGRAM, 0))
    {
        sockaddr_in local {};
        local.sin_family = AF_INET;
        local.sin_port = htons(Port);
        inet_pton(AF_INET, address, &local.sin_addr);
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr *>(&local), sizeof local), 0);
        const int on = 1;
        EXPECT_EQ(::setsockopt(fd_, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on), 0);
    }
    ~StampedReceiver() { ::close(fd_); }

    // The next datagram, or nothing after `timeoutMs`.
    std::optional<Arrival> next(int timeoutMs = 5000)
    {
        pollfd wait { fd_, POLLIN, 0 };
        if (::poll(&wait, 1, timeoutMs) != 1)
            return std::nullopt;
        Arrival arrival;
        arrival.bytes.resize(256);
        iovec data { arrival.bytes.data(), arrival.bytes.size() };
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))] = {};
        msghdr message {};
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t length = ::recvmsg(fd_, &message, 0);
        if (length < 0)
            return std::nullopt;
        arrival.bytes.resize(static_cast<std::size_t>(length));
        for (cmsghdr *c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
                timespec stamp {};
                std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
                arrival.atNs = stamp.tv_sec * 1'000'000'000LL + stamp.tv_nsec;
            }
        }
        return arrival;
    }

    std::vector<Arrival> take(std::size_t count)
    {
        std::vector<Arrival> arrivals;
        while (arrivals.size() < count) {
            auto arrival = next();
            if (!arrival)
                break;
            arrivals.push_back(std::move(*arrival));
        }
        return arrivals;
    }

    // Whether a datagram is waiting right now.
    bool hasWaiting()
    {
        pollfd wait { fd_, POLLIN, 0 };
        return ::poll(&wait, 1, 0) == 1;
    }

private:
    int fd_;
};

// Waits until the sender thread has finished with every frame (a hang guard of 5 s).
bool waitUntilEmpty(const PacedLink &link)
{
    for (int i = 0; i < 5000 && link.waitingFrames() != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return link.waitingFrames() == 0;
}

double gapMs(const StampedReceiver::Arrival &earlier, const StampedReceiver::Arrival &later)
{
    return static_cast<double>(later.atNs - earlier.atNs) / 1e6;
}

// What the observer heard, in order; tickets and outcomes on the caller's side, tickets
// and errors on the sender's.
class ObserverLog final : public SendObserver {
public:
    struct Sent {
        std::uint64_t ticket;
        std::int64_t atMs;
        int error;
    };

    void queued(std::uint64_t ticket, SendOutcome outcome) override
    {
        const std::lock_guard lock(mutex_);
        queued_.push_back({ ticket, outcome });
    }
    void sent(std::uint64_t ticket, std::int64_t monotonicMs, int error) override
    {
        const std::lock_guard lock(mutex_);
        sent_.push_back({ ticket, monotonicMs, error });
    }

    std::vector<std::pair<std::uint64_t, SendOutcome>> queuedCalls() const
    {
        const std::lock_guard lock(mutex_);
        return queued_;
    }
    std::vector<Sent> sentCalls() const
    {
        const std::lock_guard lock(mutex_);
        return sent_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::pair<std::uint64_t, SendOutcome>> queued_;
    std::vector<Sent> sent_;
};

class PacedLinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(transport.open(OwnAddress, Port)); }

    static Bytes frame(std::uint8_t tag) { return { '%', 'T', tag, '#' }; }

    UdpTransport transport;
    StampedReceiver unit { UnitAddress };
    ObserverLog observer;
};

struct PauseCase {
    const char *name;
    std::vector<int> pauses; // issued one after another between two frames
    double leastGapMs;
};

class PauseOnTheWire : public PacedLinkTest, public ::testing::WithParamInterface<PauseCase> { };

TEST_P(PauseOnTheWire, SeparatesTwoDatagramsByAtLeastThePauses)
{
    PacedLink link(transport);
    link.send(UnitAddress, Port, frame(1));
    for (const int pause : GetParam().pauses)
        link.pause(pause);
    link.send(UnitAddress, Port, frame(2));

    const auto arrivals = unit.take(2);
    ASSERT_EQ(arrivals.size(), 2u);
    EXPECT_EQ(arrivals[0].bytes, frame(1));
    EXPECT_EQ(arrivals[1].bytes, frame(2));
    const double gap = gapMs(arrivals[0], arrivals[1]);
    EXPECT_GE(gap, GetParam().leastGapMs);
    EXPECT_LT(gap, GetParam().leastGapMs + 400) << "a pause far longer than asked";
}

INSTANTIATE_TEST_SUITE_P(Pauses, PauseOnTheWire,
    ::testing::Values(PauseCase { "OneOf100", { 100 }, 100.0 },
        PauseCase { "SuccessivePausesAddUp", { 30, 20, 50 }, 100.0 },
        PauseCase { "NoPause", {}, 0.0 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PacedLinkTest, APauseIssuedAfterItsFrameLeftStillCountsFromTheEndOfThatSend)
{
    PacedLink link(transport, &observer);
    link.send(UnitAddress, Port, frame(1));
    // The sender thread has sent the frame before the pause is issued.
    ASSERT_TRUE(unit.next().has_value());
    link.pause(100);
    link.send(UnitAddress, Port, frame(2));
    link.close();
    const auto sent = observer.sentCalls();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_GE(sent[1].atMs - sent[0].atMs, 100);
}

TEST_F(PacedLinkTest, SendAndPauseReturnBeforeTheQueuedSequenceHasGone)
{
    PacedLink link(transport, &observer);
    for (std::uint8_t tag = 1; tag <= 3; ++tag) {
        EXPECT_TRUE(link.send(UnitAddress, Port, frame(tag)));
        link.pause(250);
    }
    // Half a second of pauses is queued, and every call has returned: at most the first
    // frame can have gone.
    EXPECT_LE(observer.sentCalls().size(), 1u);
    EXPECT_GE(link.waitingFrames(), 2u);

    const auto arrivals = unit.take(3);
    ASSERT_EQ(arrivals.size(), 3u);
    for (std::uint8_t tag = 1; tag <= 3; ++tag)
        EXPECT_EQ(arrivals[tag - 1].bytes, frame(tag));
}

TEST_F(PacedLinkTest, TheObserverHearsEveryFrameByTicketInSendOrder)
{
    PacedLink link(transport, &observer);
    link.send(UnitAddress, Port, frame(1));
    link.pause(20);
    link.send(OtherUnitAddress, Port, frame(2));
    link.send("not an address", Port, frame(3));
    link.close();

    const auto queued = observer.queuedCalls();
    ASSERT_EQ(queued.size(), 3u);
    for (std::uint64_t i = 0; i < 3; ++i) {
        EXPECT_EQ(queued[i].first, i + 1);
        EXPECT_EQ(queued[i].second, SendOutcome::Queued);
    }
    const auto sent = observer.sentCalls();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].ticket, 1u);
    EXPECT_EQ(sent[0].error, 0);
    EXPECT_EQ(sent[1].ticket, 2u);
    EXPECT_EQ(sent[1].error, 0);
    EXPECT_GE(sent[1].atMs - sent[0].atMs, 20);
    EXPECT_EQ(sent[2].ticket, 3u);
    EXPECT_EQ(sent[2].error, EINVAL) << "a failure at the socket is reported, not hidden";
    EXPECT_EQ(transport.sendErrors(), 1u);
}

TEST_F(PacedLinkTest, InterleavedCallersKeepTheOrderInWhichTheirFramesWereAccepted)
{
    PacedLink link(transport);
    constexpr int PerCaller = 150;
    std::mutex issuing;
    std::vector<Bytes> issued;
    std::vector<StampedReceiver::Arrival> arrivals;
    std::thread reader([&] { arrivals = unit.take(2 * PerCaller); });
    auto caller = [&](std::uint8_t who) {
        for (int i = 0; i < PerCaller; ++i) {
            const Bytes bytes = { '%', who, static_cast<std::uint8_t>(i), '#' };
            const std::lock_guard lock(issuing);
            link.send(UnitAddress, Port, bytes);
            if (i % 10 == 0)
                link.pause(1);
            issued.push_back(bytes);
        }
    };
    std::thread first(caller, std::uint8_t { 'a' });
    std::thread second(caller, std::uint8_t { 'b' });
    first.join();
    second.join();
    reader.join();

    ASSERT_EQ(arrivals.size(), issued.size());
    for (std::size_t i = 0; i < issued.size(); ++i)
        ASSERT_EQ(arrivals[i].bytes, issued[i]) << "at " << i;
}

TEST_F(PacedLinkTest, AFullQueueRefusesCountsAndDropsThePauseOfTheRefusedFrame)
{
    std::vector<std::size_t> heard;
    PacedLink link(transport, &observer, 2);
    link.setRefusalListener([&](std::size_t refused) { heard.push_back(refused); });
    link.send(UnitAddress, Port, frame(1));
    link.pause(1000);
    ASSERT_TRUE(unit.next().has_value());
    ASSERT_TRUE(waitUntilEmpty(link));
    // Frame 1 is gone and its pause runs: 2 and 3 fill the queue.
    EXPECT_TRUE(link.send(UnitAddress, Port, frame(2)));
    EXPECT_TRUE(link.send(UnitAddress, Port, frame(3)));
    EXPECT_FALSE(link.send(UnitAddress, Port, frame(4)));
    link.pause(3000); // belongs to the refused frame
    EXPECT_FALSE(link.send(UnitAddress, Port, frame(5)));
    EXPECT_EQ(link.refusedCount(), 2u);
    EXPECT_EQ(heard, (std::vector<std::size_t> { 1, 2 }));

    const auto arrivals = unit.take(2);
    ASSERT_EQ(arrivals.size(), 2u);
    EXPECT_EQ(arrivals[0].bytes, frame(2));
    EXPECT_EQ(arrivals[1].bytes, frame(3));
    EXPECT_TRUE(link.send(UnitAddress, Port, frame(6)));
    const auto last = unit.next();
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->bytes, frame(6));
    EXPECT_LT(gapMs(arrivals[1], *last), 1500) << "the refused frame's pause was kept";

    const auto queued = observer.queuedCalls();
    ASSERT_EQ(queued.size(), 6u);
    EXPECT_EQ(queued[3].second, SendOutcome::Refused);
    EXPECT_EQ(queued[4].second, SendOutcome::Refused);
    EXPECT_EQ(queued[5].second, SendOutcome::Queued);
}

TEST_F(PacedLinkTest, AnIdenticalWaitingFrameSentUnlessWaitingIsMergedWithItsPause)
{
    StampedReceiver other { OtherUnitAddress };
    PacedLink link(transport, &observer);
    // A long pause keeps the next frames waiting.
    link.send(UnitAddress, Port, frame(0));
    link.pause(500);
    SendAttach(link, UnitAddress, 1, AttachDelivery::UnlessWaiting);
    SendAttach(link, UnitAddress, 1, AttachDelivery::UnlessWaiting); // merged
    SendAttach(link, OtherUnitAddress, 1, AttachDelivery::UnlessWaiting); // another unit
    SendAttach(link, UnitAddress, 0, AttachDelivery::UnlessWaiting); // other bytes
    // The documented double sends are never merged.
    SendAttach(link, UnitAddress, 0);
    SendAttach(link, UnitAddress, 0);
    link.close();

    const auto queued = observer.queuedCalls();
    ASSERT_EQ(queued.size(), 7u);
    const std::vector<SendOutcome> expected
        = { SendOutcome::Queued, SendOutcome::Queued, SendOutcome::Merged, SendOutcome::Queued,
              SendOutcome::Queued, SendOutcome::Queued, SendOutcome::Queued };
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(queued[i].second, expected[i]) << "ticket " << queued[i].first;

    const auto arrivals = unit.take(5);
    ASSERT_EQ(arrivals.size(), 5u);
    EXPECT_FALSE(unit.hasWaiting());
    EXPECT_EQ(arrivals[1].bytes, attachFrame(1));
    EXPECT_EQ(arrivals[2].bytes, attachFrame(0));
    EXPECT_EQ(arrivals[3].bytes, attachFrame(0));
    EXPECT_EQ(arrivals[4].bytes, attachFrame(0));
    ASSERT_TRUE(other.next().has_value());
    // The pauses of the frames that went are kept.
    const auto sent = observer.sentCalls();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_GE(sent.back().atMs - sent[1].atMs, 40);
    EXPECT_LT(sent.back().atMs - sent[1].atMs, 400);
}

TEST_F(PacedLinkTest, AnAttachFrameIsQueuedAgainOnceTheWaitingOneHasGone)
{
    PacedLink link(transport, &observer);
    SendAttach(link, UnitAddress, 1, AttachDelivery::UnlessWaiting);
    ASSERT_TRUE(waitUntilEmpty(link));
    SendAttach(link, UnitAddress, 1, AttachDelivery::UnlessWaiting);
    link.close();
    const auto queued = observer.queuedCalls();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[1].second, SendOutcome::Queued);
    EXPECT_EQ(unit.take(2).size(), 2u);
}

TEST_F(PacedLinkTest, RepeatedAnnouncementsDoNotPileUpAttachFrames)
{
    Store store;
    SetDefaults(store);
    store.scanActive = true;
    ProcessorListModel processors;
    ManualClock clock;
    PacedLink link(transport, &observer);
    link.send(UnitAddress, Port, frame(0));
    link.pause(300);
    ASSERT_TRUE(waitUntilEmpty(link));
    const Datagram announcement = test::datagramFrom(UnitAddress, test::arn1Announcement("Chair"));
    for (int i = 0; i < 50; ++i)
        HandleReply(store, processors, link, clock, announcement);
    EXPECT_EQ(link.waitingFrames(), 1u);
    link.close();

    const auto queued = observer.queuedCalls();
    ASSERT_EQ(queued.size(), 51u);
    EXPECT_EQ(queued[1].second, SendOutcome::Queued);
    for (std::size_t i = 2; i < queued.size(); ++i)
        EXPECT_EQ(queued[i].second, SendOutcome::Merged);
    EXPECT_EQ(unit.take(2).size(), 2u);
    EXPECT_FALSE(unit.hasWaiting());
}

TEST_F(PacedLinkTest, CloseSendsWhatWasQueuedWithItsPausesThenRefuses)
{
    PacedLink link(transport, &observer);
    for (std::uint8_t tag = 1; tag <= 5; ++tag) {
        link.send(UnitAddress, Port, frame(tag));
        link.pause(20);
    }
    link.close();
    EXPECT_EQ(link.waitingFrames(), 0u);
    EXPECT_FALSE(link.send(UnitAddress, Port, frame(6)));

    const auto arrivals = unit.take(5);
    ASSERT_EQ(arrivals.size(), 5u);
    for (std::size_t i = 1; i < arrivals.size(); ++i)
        EXPECT_GE(gapMs(arrivals[i - 1], arrivals[i]), 20.0);
    EXPECT_FALSE(unit.hasWaiting());
}

TEST_F(PacedLinkTest, CloseGivesUpAfterItsLimitAndReportsTheFramesThatNeverWent)
{
    PacedLink link(transport, &observer);
    for (std::uint8_t tag = 1; tag <= 4; ++tag) {
        link.send(UnitAddress, Port, frame(tag));
        link.pause(1000);
    }
    link.close(std::chrono::milliseconds(300));

    const auto sent = observer.sentCalls();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].error, 0);
    for (std::size_t i = 1; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].ticket, i + 1);
        EXPECT_EQ(sent[i].error, ECANCELED);
    }
    ASSERT_TRUE(unit.next().has_value());
    EXPECT_FALSE(unit.hasWaiting());
}

long voluntarySwitches(int threadId)
{
    std::ifstream status("/proc/self/task/" + std::to_string(threadId) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
            return std::stol(line.substr(line.find(':') + 1));
    }
    return -1;
}

TEST_F(PacedLinkTest, TheSenderThreadDoesNotWakeWhileIdle)
{
    PacedLink link(transport, &observer);
    link.send(UnitAddress, Port, frame(1));
    link.pause(10);
    ASSERT_TRUE(unit.next().has_value());
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // past the pause
    const long before = voluntarySwitches(link.senderThreadId());
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const long after = voluntarySwitches(link.senderThreadId());
    ASSERT_GE(before, 0);
    EXPECT_EQ(after, before);
}

} // namespace
} // namespace arx
