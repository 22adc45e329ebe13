// The ring, the journaling link on both kinds of link behind it, and the reasons the reply
// parser gives for what it drops.
#include "journal/Journal.h"
#include "journal/JournalRecording.h"
#include "journal/JournalText.h"

#include "DeviceFrames.h"
#include "RecordingLink.h"

#include "protocol/Frames.h"
#include "protocol/ReplyParser.h"
#include "protocol/Senders.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <thread>

namespace arx {
namespace {

using test::Bytes;

JournalEntry entryAt(std::int64_t monotonicMs)
{
    JournalEntry entry;
    entry.monotonicMs = monotonicMs;
    return entry;
}

std::vector<std::uint64_t> sequences(const std::vector<JournalEntry> &entries)
{
    std::vector<std::uint64_t> numbers;
    for (const JournalEntry &entry : entries)
        numbers.push_back(entry.sequence);
    return numbers;
}

TEST(JournalRing, KeepsTheLatestEntriesWhenFull)
{
    Journal journal(1000, 3);
    for (int i = 1; i <= 5; ++i)
        journal.add(entryAt(i * 10));
    const std::vector<JournalEntry> kept = journal.since(0);
    EXPECT_EQ(sequences(kept), (std::vector<std::uint64_t> { 3, 4, 5 })) << "the oldest two went";
    EXPECT_EQ(kept.front().monotonicMs, 30);
    EXPECT_EQ(kept.front().wallMs, 1030) << "wall-clock time from the monotonic time";
    EXPECT_EQ(sequences(journal.since(4)), (std::vector<std::uint64_t> { 5 }));
    EXPECT_TRUE(journal.since(5).empty());
    EXPECT_EQ(journal.lastSequence(), 5u);
}

TEST(JournalRing, WaitingReturnsOnANewEntryOrOnStop)
{
    Journal journal;
    std::stop_source stop;
    std::thread adder([&] { journal.add(entryAt(1)); });
    EXPECT_EQ(
        sequences(journal.waitSince(0, stop.get_token())), (std::vector<std::uint64_t> { 1 }));
    adder.join();
    std::thread stopper([&] { stop.request_stop(); });
    EXPECT_TRUE(journal.waitSince(1, stop.get_token()).empty());
    stopper.join();
}

// A queueing link as the paced link behaves: it numbers frames from 1, says on the caller's
// thread what it did with each, and reports the send later from a thread of its own.
class FakePacedLink final : public Link {
public:
    explicit FakePacedLink(SendObserver &observer)
        : observer_(observer)
    {
    }
    bool send(const std::string &, std::uint16_t, std::span<const std::uint8_t>) override
    {
        const std::uint64_t ticket = ++tickets_;
        observer_.queued(ticket, outcome);
        return outcome != SendOutcome::Refused;
    }
    void pause(int) override { }
    void sendFromItsThread(std::uint64_t ticket, std::int64_t monotonicMs, int error)
    {
        std::thread([&] { observer_.sent(ticket, monotonicMs, error); }).join();
    }

    SendOutcome outcome = SendOutcome::Queued;

private:
    SendObserver &observer_;
    std::uint64_t tickets_ = 0;
};

class JournalingLinkTest : public ::testing::Test {
protected:
    JournalingLinkTest()
    {
        DeviceRecord &record = store.unitTable[2];
        record.inUse = 1;
        record.unitNumber = 3;
        record.type = UnitTypeArn1;
        setText(record.name, "Chair 3");
        setText(record.ip, "10.0.0.3");
        clock.advance(500);
    }

    void sendAttach(Link &link) { SendAttach(link, "10.0.0.3", 1); }

    Store store;
    ManualClock clock;
    Journal journal;
};

TEST_F(JournalingLinkTest, SynchronousLinkRecordsEachFrameAtTheCallWithItsDevice)
{
    test::RecordingLink next;
    JournalingLink link(journal, store, clock, SendReporting::AtCall);
    link.setNext(next);
    EXPECT_TRUE(link.send("10.0.0.3", 39030, unitSettingsFrame(store.unitTable[2])));
    next.failSends = true;
    EXPECT_FALSE(link.send("10.0.0.3", 39030, attachFrame(0)));

    ASSERT_EQ(next.frames.size(), 2u) << "every frame went on";
    const std::vector<JournalEntry> entries = journal.since(0);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].direction, JournalDirection::Out);
    EXPECT_EQ(entries[0].monotonicMs, 500);
    EXPECT_EQ(deviceText(entries[0].device), "unit 3 Chair 3");
    EXPECT_EQ(endpointText(entries[0]), "10.0.0.3:39030");
    EXPECT_EQ(meaningText(entries[0]),
        "settings gain 0dB, low cut off, 48V off, mute off, locate off, mode OFF");
    EXPECT_EQ(entries[1].direction, JournalDirection::Dropped);
    EXPECT_EQ(entries[1].reason, DropReason::SendError);
    EXPECT_TRUE(meaningText(entries[1]).starts_with("dropped: send error"))
        << meaningText(entries[1]);
}

TEST_F(JournalingLinkTest, QueuedFrameIsRecordedWhenItLeavesWithTheSendersTimeAndTheDeviceOfTheCall)
{
    JournalingLink link(journal, store, clock, SendReporting::Observed);
    FakePacedLink paced(link);
    link.setNext(paced);
    sendAttach(link);
    sendAttach(link);
    EXPECT_TRUE(journal.since(0).empty()) << "nothing left yet";
    EXPECT_EQ(link.waitingCount(), 2u);

    setText(store.unitTable[2].name, "Renamed"); // after the call: the record keeps the old name
    paced.sendFromItsThread(1, 520, 0);
    paced.sendFromItsThread(2, 530, ECONNREFUSED);

    const std::vector<JournalEntry> entries = journal.since(0);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].direction, JournalDirection::Out);
    EXPECT_EQ(entries[0].monotonicMs, 520) << "the time it really left";
    EXPECT_EQ(deviceText(entries[0].device), "unit 3 Chair 3");
    EXPECT_EQ(meaningText(entries[0]), "attach");
    EXPECT_EQ(entries[1].direction, JournalDirection::Dropped);
    EXPECT_EQ(entries[1].monotonicMs, 530);
    EXPECT_EQ(meaningText(entries[1]),
        "dropped: send error (" + std::string(std::strerror(ECONNREFUSED)) + "); attach");
    EXPECT_EQ(link.waitingCount(), 0u);
}

TEST_F(JournalingLinkTest, RefusedFrameIsDroppedAtOnceAndAMergedOneIsLeftToItsTwin)
{
    JournalingLink link(journal, store, clock, SendReporting::Observed);
    FakePacedLink paced(link);
    link.setNext(paced);
    paced.outcome = SendOutcome::Refused;
    sendAttach(link);
    paced.outcome = SendOutcome::Merged;
    sendAttach(link);

    const std::vector<JournalEntry> entries = journal.since(0);
    ASSERT_EQ(entries.size(), 1u) << "the merged frame leaves as the one already waiting";
    EXPECT_EQ(entries[0].direction, JournalDirection::Dropped);
    EXPECT_EQ(meaningText(entries[0]), "dropped: send queue full; attach");
    EXPECT_EQ(entries[0].monotonicMs, 500);
    EXPECT_EQ(link.waitingCount(), 0u);
    paced.sendFromItsThread(2, 600, 0);
    EXPECT_EQ(journal.since(0).size(), 1u) << "a report for a forgotten ticket changes nothing";
}

TEST_F(JournalingLinkTest, FramesSentWhileADatagramIsHandledComeAfterIt)
{
    test::RecordingLink next;
    JournalingLink link(journal, store, clock, SendReporting::AtCall);
    link.setNext(next);
    link.holdRecords();
    sendAttach(link);
    recordReceived(journal, &store, clock.monotonicMs(),
        test::datagramFrom("10.0.0.3", test::arn1ShortAnnouncement("Chair 3")), DropReason::None);
    link.releaseRecords();

    const std::vector<JournalEntry> entries = journal.since(0);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].direction, JournalDirection::In);
    EXPECT_EQ(deviceText(entries[0].device), "unit 3 Chair 3");
    EXPECT_EQ(entries[1].direction, JournalDirection::Out);
}

TEST(JournalDevices, SearchProcessorAndUnitsAreToldApart)
{
    Store store;
    store.unitTable[0].inUse = 1;
    store.unitTable[0].unitNumber = 1;
    setText(store.unitTable[0].ip, "10.0.0.1");
    const Bytes unitFrame = attachFrame(1);
    const Bytes processor = deviceResetFrame();
    EXPECT_EQ(
        journalDevice(&store, "239.254.50.123", 9000, searchRequestFrame({ 1, 2, 3, 4 })).kind,
        DeviceKind::Search);
    EXPECT_EQ(journalDevice(&store, "10.0.0.9", 39060, processor).kind, DeviceKind::Processor);
    EXPECT_EQ(journalDevice(nullptr, "10.0.0.9", 39030, processor).kind, DeviceKind::Processor)
        << "by its framing, without the store";
    EXPECT_EQ(journalDevice(&store, "10.0.0.1", 39030, unitFrame).unitNumber, 1);
    EXPECT_EQ(journalDevice(&store, "10.0.0.2", 39030, unitFrame).kind, DeviceKind::None);
    EXPECT_EQ(journalDevice(nullptr, "10.0.0.1", 39030, unitFrame).kind, DeviceKind::None)
        << "no store, no unit";
}

// The reply parser's reasons: each row a datagram that hits one.
struct DropRow {
    const char *name;
    bool searchOn;
    bool tableFull;
    Bytes bytes;
    DropReason reason;
};

void PrintTo(const DropRow &row, std::ostream *out)
{
    *out << row.name;
}

const DropRow DropRows[] = {
    { "Taken", true, false, test::arn1Announcement("Chair"), DropReason::None },
    { "WrongFirstByte", true, false, { 'x', 'G', 3, '#' }, DropReason::WrongFraming },
    { "WrongLastByte", true, false, { '%', 'G', 3, 'x' }, DropReason::WrongFraming },
    { "NotAProcessorAnswer", true, false, { 0xAA, 0x55, 0x01, 0x08, 0xA5 },
        DropReason::WrongFraming },
    { "UnknownLetter", true, false, test::report('Z', { 1 }), DropReason::UnknownLetter },
    { "KnownButUnused", true, false, test::report('B', { 1 }), DropReason::UnusedLetter },
    { "NoVariantForThisLength", true, false,
        [] {
            Bytes bytes = test::arn1ShortAnnouncement("Chair");
            bytes.insert(bytes.end() - 1, 0);
            return bytes;
        }(),
        DropReason::NoVariant },
    { "SearchOff", false, false, test::arn1Announcement("Chair"), DropReason::SearchOff },
    { "NoFreeSlot", true, true, test::arn1Announcement("Chair"), DropReason::NoFreeSlot },
    { "Pxl2TooShortForItsFields", true, false,
        [] {
            Bytes bytes = test::pxl2Announcement("Lectern");
            bytes.erase(bytes.end() - 3, bytes.end() - 1);
            return bytes;
        }(),
        DropReason::TooShort },
    { "ReportTooShortForItsValues", true, false, test::report('E', { 1, 2 }),
        DropReason::TooShort },
    { "ReportFromAnAddressNoSlotHolds", true, false, test::report('G', { 4 }),
        DropReason::UnknownSender },
};

class ParserDropReason : public ::testing::TestWithParam<DropRow> { };

TEST_P(ParserDropReason, NamesWhyTheDatagramWasDropped)
{
    const DropRow &row = GetParam();
    Store store;
    store.scanActive = row.searchOn ? 1 : 0;
    if (row.tableFull) {
        for (int slot = 0; slot < UnitSlotCount; ++slot) {
            store.unitTable[slot].inUse = 1;
            setText(store.unitTable[slot].ip, "10.9.9." + std::to_string(slot));
            setText(store.unitTable[slot].name, "Taken " + std::to_string(slot));
        }
    }
    ProcessorListModel processors;
    test::RecordingLink link;
    ManualClock clock;
    DropReason reason = DropReason::Empty; // anything but the expected
    HandleReply(store, processors, link, clock, test::datagramFrom("10.0.0.7", row.bytes), &reason);
    EXPECT_EQ(reason, row.reason) << dropReasonText(reason);
}

INSTANTIATE_TEST_SUITE_P(Parser, ParserDropReason, ::testing::ValuesIn(DropRows),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace arx
