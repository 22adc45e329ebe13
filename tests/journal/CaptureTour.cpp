// Runs ARX's application object with a capture and a journal (as --capture and --journal do)
// against a simulated room on 127.0.N.0/24, through every kind of frame ARX sends and
// receives, then a few datagrams from a stranger that fit no kind. Leaves DIR/capture.pcap
// and DIR/journal.jsonl for the dissector's test; tests/journal/make-capture-fixture.sh keeps
// a run as the test's fixture.
//   arx-capture-tour 127.0.N DIR
#include "app/CARNApp.h"
#include "app/CARNDlg.h"
#include "dsp/CoefficientFrames.h"
#include "dsp/CoefficientSenders.h"
#include "model/Store.h"
#include "protocol/Ports.h"
#include "protocol/Senders.h"

#include "SimControl.h"
#include "SimProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace arx;
using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void fail(const std::string &why)
{
    std::fprintf(stderr, "arx-capture-tour: %s\n", why.c_str());
    std::exit(1);
}

void waitFor(const std::string &what, const std::function<bool()> &done)
{
    if (!QTest::qWaitFor(done, 10000))
        fail("no " + what);
}

// How many datagrams the journal holds that go `out` (or not) with the letter, or for a
// processor frame the command, `kind`.
int journalCount(const Journal &journal, bool out, std::uint8_t kind)
{
    int count = 0;
    for (const JournalEntry &entry : journal.since(0)) {
        const bool processor = entry.length > 3 && entry.bytes[0] == 0xAA;
        if (entry.isOutgoing() == out && entry.length > 3 && entry.bytes[processor ? 3 : 1] == kind)
            ++count;
    }
    return count;
}

// What the strips and the equaliser send to a unit of each type.
void sendToUnit(Link &link, Store &store, int slot)
{
    const std::int32_t type = store.unitTable[slot].type;
    if (type == UnitTypeVelK || type == UnitTypeVelKShort)
        SendUnitSettings5(link, store, slot);
    else
        SendUnitSettings(link, store, slot);
    if (type == UnitTypeArn1)
        SendColours(link, store, slot);
    if (type == UnitTypeVelK)
        SendColoursDefaultCode(link, store, slot);
    if (type != UnitTypePxl2)
        return;
    SendColoursWide(link, store, slot);
    for (int band = 1; band <= MicLowCutBand; ++band)
        sendMicEqBand(link, store, store.unitTable[slot].ip, slot, band);
}

void setUnit(DeviceRecord &unit)
{
    unit.gain = unit.type == UnitTypePxl2 ? 9 : 2;
    unit.micMute = 1;
    unit.mode = 2;
    unit.colourOpen = unit.type == UnitTypePxl2 ? 0x3366FF : 1;
    unit.colourMute = unit.type == UnitTypePxl2 ? 0x00FF00 : 4;
    unit.colourCall = unit.type == UnitTypePxl2 ? 0xABCDEF : 7;
    // A boost, a cut, a disabled shelf and a narrow boost; the low cut on.
    const MicEqBand bands[MicEqBandCount] = {
        { .frequency = 120, .gain = 360, .q = 7, .enabled = 1, .shape = 0 },
        { .frequency = 1000, .gain = 180, .q = 20, .enabled = 1, .shape = 0 },
        { .frequency = 4000, .gain = 250, .q = 15, .enabled = 0, .shape = 2 },
        { .frequency = 12000, .gain = 450, .q = 3, .enabled = 1, .shape = 1 },
    };
    std::copy(std::begin(bands), std::end(bands), unit.eqBands);
    unit.eqLowCutOn = 1;
    unit.eqLowCutFrequency = 90;
}

void setProcessor(SpeakerStore &speaker)
{
    SpeakerChannel &a = speaker.channels[0];
    SpeakerChannel &b = speaker.channels[1];
    a.bands[0] = { .frequency = 80, .gain = 240, .q = 7 };
    b.bands[2] = { .frequency = 2500, .gain = 60, .q = 40 };
    a.hpFrequency = 120, a.hpType = 3; // Linkwitz 2
    a.lpFrequency = 16000, a.lpType = 4, a.lpQ = 7; // Variable
    b.hpFrequency = 40, b.hpType = 0; // Butterworth 1
    b.lpFrequency = 2000, b.lpType = 2; // Bessel 2
    a.threshold = 12, a.attack = 5, a.release = 50, a.ratio = 40;
    b.threshold = 3, b.attack = 20, b.release = 200, b.ratio = 100;
    a.level = 10, b.level = 60, speaker.mainLevel = 48;
    a.phase = 1;
    std::snprintf(speaker.processorName, sizeof speaker.processorName, "Hall 2");
}

// A datagram from an address no unit holds.
void sendAsStranger(const std::string &from, const std::string &to, const Bytes &bytes)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, from.c_str(), &address.sin_addr);
    ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    address.sin_port = htons(LocalPort);
    inet_pton(AF_INET, to.c_str(), &address.sin_addr);
    ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr *>(&address),
        sizeof address);
    ::close(fd);
}

Bytes framed(const std::string &text)
{
    return Bytes(text.begin(), text.end());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (argc != 3)
        fail("usage: arx-capture-tour 127.0.N DIR");
    const std::string subnet = argv[1];
    const QString out = QString::fromLocal8Bit(argv[2]);
    const std::string own = subnet + ".1";

    arxsim::SimProcess sim(
        { "--subnet", subnet + ".0", "--units", "1,2,3,4,5", "--level-rate", "2", "--quiet" });
    arxsim::SimControl room(sim.control());
    room.rename(1, "\xD6\xF7\xCF\xAF"); // a GBK name: 主席

    CARNApp app({ .interfaceAddress = QString::fromStdString(own),
        .journalPath = out + QStringLiteral("/journal.jsonl"),
        .capturePath = out + QStringLiteral("/capture.pcap") });
    Store &store = app.store();
    const Journal &journal = app.journal();

    app.window().discovery().startSearch();
    waitFor("attach of every unit", [&] {
        int attached = 0;
        for (int unit = 1; unit <= 5; ++unit)
            attached += room.unit(unit).text("attached") == "1" ? 1 : 0;
        return attached == 5;
    });
    waitFor("level reports", [&] {
        return journalCount(journal, false, 'G') > 0 && journalCount(journal, false, 'L') > 0;
    });

    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        if (store.unitTable[slot].inUse) {
            setUnit(store.unitTable[slot]);
            sendToUnit(app.link(), store, slot);
        }
    }
    waitFor("settings reports", [&] {
        return journalCount(journal, false, 'E') >= 3 && journalCount(journal, false, 'J') >= 2;
    });

    // The processor answered the search: connect, then what a recall, a reset and the phase
    // buttons send.
    waitFor("processor", [&] { return app.window().discovery().processorList().rowCount() == 1; });
    app.window().discovery().connectRow(0);
    waitFor("processor connection", [&] { return store.speaker.rdaConnected != 0; });
    setProcessor(store.speaker);
    Link &link = app.link();
    for (int channel = 0; channel < 2; ++channel) {
        sendSpeakerEqBand(link, store, channel, channel == 0 ? 1 : 3);
        sendHighPass(link, store, channel);
        sendLowPass(link, store, channel);
        sendDynamics(link, store, channel);
    }
    for (const LevelTarget target :
        { LevelTarget::Main, LevelTarget::ChannelA, LevelTarget::ChannelB })
        SendLevel(link, store, target);
    SendDeviceName(link, store);
    SendPhase(link, store, PhaseTarget::ChannelA);
    SendPhase(link, store, PhaseTarget::ChannelB);
    SendDeviceReset(link, store);
    waitFor("processor frames", [&] { return room.processorFrames().size() >= 15; });

    // A stranger: frames ARX has no use for, and datagrams that fit no kind.
    const std::string stranger = subnet + ".9";
    const std::vector<Bytes> strangeOnes = {
        framed("%B#"), framed("%U\x01#"),
        framed("%G#"), // a byte short
        { '%', 'E', 1, 0, 0, 0, 0, 1, '#' }, // no unit at this address
        framed("%Z\x01#"), // no such letter
        framed("%Dxxxxxx#"), // an announcement no unit sends
        framed("%H\x01\x02#"), // a PXL2 announcement far too short
        framed("%G\x05"), // without its end
        { 0xAA, 0x55, 0x03, 0x04, 0x00, 0x10, 0x00 }, // a wrong end byte
        Bytes(200, '%'), // longer than any frame: ARX keeps its first 128 bytes
    };
    for (const Bytes &bytes : strangeOnes)
        sendAsStranger(stranger, own, bytes);
    waitFor("the stranger's datagrams", [&] {
        int fromStranger = 0;
        for (const JournalEntry &entry : journal.since(0))
            fromStranger += std::string(entry.address) == stranger ? 1 : 0;
        return fromStranger == static_cast<int>(strangeOnes.size());
    });

    app.window().discovery().stopSearch();
    waitFor("detach", [&] { return room.unit(1).text("attached") == "0"; });
    return 0;
}
