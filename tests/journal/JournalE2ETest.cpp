// The journal on real sockets: the transport's and the hand-over's drops, and the application
// against a simulated room on 127.0.100.0/24, compared direction by direction with the
// emulator's own frame log.
#include "app/CARNApp.h"
#include "app/CARNDlg.h"
#include "app/DatagramPump.h"
#include "controls/CListCtrlCl.h"
#include "controls/ControlId.h"
#include "journal/JournalRecording.h"
#include "journal/JournalText.h"
#include "model/Store.h"
#include "protocol/Senders.h"

#include "SimControl.h"
#include "SimProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace arx {
namespace {

constexpr int WaitMs = 5000;
constexpr const char *Own = "127.0.100.1:39030";

// A plain UDP socket on a loopback address that sends raw datagrams.
class Sender {
public:
    explicit Sender(const char *address)
        : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_in local {};
        local.sin_family = AF_INET;
        inet_pton(AF_INET, address, &local.sin_addr);
        ::bind(fd_, reinterpret_cast<const sockaddr *>(&local), sizeof local);
        socklen_t length = sizeof local;
        ::getsockname(fd_, reinterpret_cast<sockaddr *>(&local), &length);
        port = ntohs(local.sin_port);
    }
    ~Sender() { ::close(fd_); }
    void send(const char *address, std::uint16_t toPort, const std::vector<std::uint8_t> &bytes)
    {
        sockaddr_in to {};
        to.sin_family = AF_INET;
        to.sin_port = htons(toPort);
        inet_pton(AF_INET, address, &to.sin_addr);
        ::sendto(
            fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr *>(&to), sizeof to);
    }
    std::uint16_t port = 0;

private:
    int fd_;
};

bool waitFor(const std::function<bool()> &done)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

TEST(JournalTransportDrops, EmptyAndOverLongDatagramsAreReportedWithTheirLength)
{
    UdpTransport transport;
    ASSERT_TRUE(transport.open("127.0.100.50", 39030));
    std::mutex mutex;
    std::vector<std::pair<Datagram, std::size_t>> dropped;
    std::vector<DropReason> reasons;
    int delivered = 0;
    transport.setDropped([&](const Datagram &datagram, DropReason reason, std::size_t length) {
        std::lock_guard lock(mutex);
        dropped.emplace_back(datagram, length);
        reasons.push_back(reason);
    });
    transport.start([&](const Datagram &) {
        std::lock_guard lock(mutex);
        ++delivered;
    });
    Sender sender("127.0.100.51");
    sender.send("127.0.100.50", 39030, {});
    sender.send("127.0.100.50", 39030, std::vector<std::uint8_t>(200, 0x25));
    sender.send("127.0.100.50", 39030, { '%', 'G', 1, '#' });
    ASSERT_TRUE(waitFor([&] {
        std::lock_guard lock(mutex);
        return delivered == 1;
    }));
    transport.stop();

    ASSERT_EQ(reasons, (std::vector<DropReason> { DropReason::Empty, DropReason::TooLong }));
    EXPECT_EQ(dropped[0].second, 0u);
    EXPECT_EQ(dropped[1].second, 200u);
    EXPECT_EQ(dropped[1].first.length, DatagramCapacity) << "the first 128 bytes kept";
    EXPECT_EQ(dropped[1].first.sender, "127.0.100.51");
    EXPECT_EQ(dropped[1].first.senderPort, sender.port);

    Journal journal;
    ManualClock clock;
    recordTransportDrop(journal, clock, dropped[1].first, reasons[1], dropped[1].second);
    EXPECT_EQ(meaningText(journal.since(0).front()), "dropped: longer than 128 bytes (200 bytes)");
}

TEST(JournalHandOverDrops, DatagramsBeyondAFullQueueAreReported)
{
    UdpTransport transport;
    ASSERT_TRUE(transport.open("127.0.100.52", 39030));
    DatagramPump pump(transport);
    std::atomic<std::size_t> reported { 0 };
    pump.setDropped([&](const Datagram &datagram) {
        if (datagram.length == 4 && datagram.bytes[1] == 'G')
            ++reported;
    });
    pump.start();
    // The user-interface thread does not run here, so the queue only fills.
    Sender sender("127.0.100.53");
    // Until the queue overflows; the socket buffer may drop some of them on its own.
    for (std::size_t i = 0; i < 4 * DatagramPump::Capacity && pump.droppedCount() < 10; ++i) {
        sender.send("127.0.100.52", 39030, { '%', 'G', static_cast<std::uint8_t>(i), '#' });
        if (i % 32 == 31) // lets the receive thread keep up with the socket
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(waitFor([&] { return pump.droppedCount() > 0 && reported == pump.droppedCount(); }))
        << pump.droppedCount() << " dropped, " << reported << " reported";
    EXPECT_EQ(pump.pendingCount(), DatagramPump::Capacity);
    transport.stop();
    EXPECT_EQ(reported.load(), pump.droppedCount()) << "every drop reported, once";
}

struct LoggedFrame {
    std::string far; // ADDRESS:PORT of the device
    std::string hex;
    friend bool operator==(const LoggedFrame &, const LoggedFrame &) = default;
};
using FramesByDevice = std::map<std::string, std::vector<LoggedFrame>>;

void PrintTo(const LoggedFrame &frame, std::ostream *out)
{
    *out << frame.far << " " << frame.hex;
}

class JournalEndToEnd : public ::testing::Test {
protected:
    QTemporaryDir directory;
    std::string simLog = directory.filePath(QStringLiteral("sim.log")).toStdString();
    QString journalPath = directory.filePath(QStringLiteral("journal.jsonl"));
    arxsim::SimProcess sim { { "--subnet", "127.0.100.0", "--units", "1,2,3", "--level-rate", "0" },
        simLog };
    arxsim::SimControl room { sim.control() };
    std::unique_ptr<CARNApp> app;

    CARNDlg &window() { return app->window(); }
    template <class Control = QWidget> Control *control(int id)
    {
        return findControl<Control>(&window(), id);
    }
    void click(int id)
    {
        QWidget *target = control(id);
        QTest::mouseClick(window().windowHandle(), Qt::LeftButton, {},
            target->mapTo(&window(), target->rect().center()));
    }
    bool roomSees(const std::function<bool(arxsim::SimControl &)> &check)
    {
        return QTest::qWaitFor([&] { return check(room); }, WaitMs);
    }
    bool journalHas(const std::string &meaning)
    {
        return QTest::qWaitFor(
            [&] {
                for (const JournalEntry &entry : app->journal().since(0))
                    if (meaningText(entry) == meaning)
                        return true;
                return false;
            },
            WaitMs);
    }

    // The emulator's log: what it received from ARX ("in", from us) or sent to ARX ("out", to
    // us), by device, in order. Searches from other rooms on loopback are left out.
    FramesByDevice simFrames(const char *direction)
    {
        FramesByDevice frames;
        QFile file(QString::fromStdString(simLog));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        for (const QByteArray &line : file.readAll().split('\n')) {
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            if (object.value(QStringLiteral("direction")).toString() != QLatin1String(direction))
                continue;
            const bool in = QLatin1String(direction) == QLatin1String("in");
            const std::string ours
                = (in ? object.value(QStringLiteral("from")) : object.value(QStringLiteral("to")))
                      .toString()
                      .toStdString();
            if (ours != Own)
                continue;
            const std::string far
                = (in ? object.value(QStringLiteral("to")) : object.value(QStringLiteral("from")))
                      .toString()
                      .toStdString();
            // arx-sim writes its hex in lower case.
            frames[far].push_back(
                { far, object.value(QStringLiteral("hex")).toString().toUpper().toStdString() });
        }
        return frames;
    }

    // The journal's side: what left ARX, or what reached it (taken or dropped).
    FramesByDevice journalFrames(bool out)
    {
        FramesByDevice frames;
        for (const JournalEntry &entry : app->journal().since(0)) {
            const bool sent = entry.direction == JournalDirection::Out;
            const bool received = entry.direction == JournalDirection::In
                || (entry.direction == JournalDirection::Dropped && !entry.outgoing);
            if (out ? !sent : !received)
                continue;
            frames[endpointText(entry)].push_back({ endpointText(entry), hexText(entry, false) });
        }
        return frames;
    }
};

TEST_F(JournalEndToEnd, ASearchAStripChangeAndAConnectionAgreeWithTheEmulatorsLog)
{
    app = std::make_unique<CARNApp>(StartOptions { QStringLiteral("127.0.100.1"), journalPath });
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));

    click(1006); // SEARCH
    for (int unit = 1; unit <= 3; ++unit)
        ASSERT_TRUE(roomSees([unit](arxsim::SimControl &r) {
            return r.unit(unit).text("attached") == "1";
        })) << "unit "
            << unit;

    // What a strip does when its gain and mute change.
    DeviceRecord &first = app->store().unitTable[0];
    first.gain = 3;
    first.micMute = 1;
    SendUnitSettings(app->link(), app->store(), 0);
    ASSERT_TRUE(roomSees([](arxsim::SimControl &r) { return r.unit(1).text("gain") == "3"; }));
    EXPECT_TRUE(journalHas("settings report gain +9dB, low cut off, 48V on, mute on, locate off, "
                           "mode ON"))
        << "the unit's answer";

    click(1002); // SPEAKER
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return control<CListCtrlCl>(1009)->rowCount() == 1; }, WaitMs));
    window().discovery().connectRow(0);
    ASSERT_TRUE(
        roomSees([](arxsim::SimControl &r) { return r.processor().text("connected") == "1"; }));

    EXPECT_TRUE(journalHas("search from 127.0.100.1:39030"));
    EXPECT_TRUE(
        journalHas("settings gain +9dB, low cut off, 48V on, mute on, locate off, mode ON"));
    EXPECT_TRUE(journalHas("connect request from 127.0.100.1, port 39060"));
    EXPECT_TRUE(journalHas("processor answer RDA-SIM"));

    // Each direction on its own, device by device: datagrams crossing in flight may change
    // the order between the two directions, never within one device's stream.
    EXPECT_TRUE(QTest::qWaitFor([&] { return simFrames("out") == journalFrames(false); }, WaitMs));
    EXPECT_EQ(journalFrames(false), simFrames("out")) << "what the emulator sent, ARX received";
    EXPECT_TRUE(QTest::qWaitFor([&] { return simFrames("in") == journalFrames(true); }, WaitMs));
    EXPECT_EQ(journalFrames(true), simFrames("in")) << "what ARX sent, the emulator received";
    EXPECT_GE(journalFrames(true)["239.254.50.123:9000"].size(), 2u) << "both search requests";

    const std::size_t entries = app->journal().since(0).size();
    app.reset(); // the file is complete once the application has gone
    QFile file(journalPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n');
    lines.removeAll(QByteArray());
    EXPECT_EQ(static_cast<std::size_t>(lines.size()), entries) << "every entry, one line each";
    for (const QByteArray &line : lines)
        EXPECT_FALSE(QJsonDocument::fromJson(line).isNull()) << line.toStdString();
}

} // namespace
} // namespace arx
