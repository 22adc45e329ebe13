// libFuzzer target: the room-control dispatcher, reached as a client reaches it, through a
// session's line buffer, on a room of six registered units (every family, and one unit of an
// unknown type) and a connected processor.
//
// Input: any bytes, fed to one client in pieces; a 0xFF byte switches to a second client and
// lets every frame queued so far go out. Invariants: no line asks or tells anything through a
// dialog, every frame goes to one device or the search group, on a device port, every answer and
// push is one well-formed line, and the store keeps every value within its range.

#include "FuzzRequire.h"
#include "control/ControlDispatcher.h"
#include "speaker/PresetFile.h"

#include "FakeFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

using namespace arx;

// Numbers its frames like a queueing link and tells the client frames about them.
class CheckingLink final : public Link {
public:
    explicit CheckingLink(ClientFrames &frames)
        : frames_(frames)
    {
    }
    bool send(const std::string &address, std::uint16_t port,
        std::span<const std::uint8_t> bytes) override
    {
        require(isUnicastIPv4(address) || address == "239.254.50.123");
        require(port == 39030 || port == 39060 || port == 9000);
        require(!bytes.empty() && bytes.size() <= 64);
        frames_.queued(++ticket_, SendOutcome::Queued);
        return true;
    }
    void pause(int milliseconds) override { require(milliseconds > 0 && milliseconds <= 100); }
    void drain()
    {
        for (; sent_ < ticket_; ++sent_)
            frames_.sent(sent_ + 1, 0, 0);
    }

private:
    ClientFrames &frames_;
    std::uint64_t ticket_ = 0;
    std::uint64_t sent_ = 0;
};

class NoDialogs final : public Prompts {
public:
    void message(const std::string &) override { require(false); }
    bool confirm(const std::string &) override
    {
        require(false);
        return false;
    }
    std::optional<std::string> openFileName(const std::string &, const std::string &) override
    {
        require(false);
        return {};
    }
    std::optional<std::string> saveFileName(const std::string &, const std::string &) override
    {
        require(false);
        return {};
    }
    std::optional<std::uint32_t> chooseColour(std::uint32_t) override
    {
        require(false);
        return {};
    }
};

void requireLine(const std::string &line)
{
    require(line.starts_with("< ") && line.ends_with(" >"));
    require(line.find_first_of("\r\n", 0) == std::string::npos);
}

class CheckingBroadcast final : public ControlBroadcast {
public:
    void broadcast(const std::string &line) override { requireLine(line); }
    void sendTo(ClientFrames::ClientId, const std::string &line) override { requireLine(line); }
};

template <std::size_t Width> bool terminated(const char (&field)[Width])
{
    return std::memchr(field, '\0', Width) != nullptr;
}

void checkStore(const Store &store)
{
    for (const DeviceRecord &record : store.unitTable) {
        require(terminated(record.name) && terminated(record.ip));
        for (const MicEqBand &band : record.eqBands) {
            require(band.frequency >= 20 && band.frequency <= 20000);
            require(band.q >= 1 && band.q <= 1000);
            require(band.gain >= 150 && band.gain <= 450);
        }
        require(record.eqLowCutFrequency >= 20 && record.eqLowCutFrequency <= 200);
        require(record.mode >= 0 && record.mode <= 3);
    }
    const SpeakerStore &speaker = store.speaker;
    require(terminated(speaker.processorName) && std::strlen(speaker.processorName) <= 10);
    require(speaker.mainLevel >= 0 && speaker.mainLevel <= 254);
    for (const SpeakerChannel &channel : speaker.channels) {
        require(channel.level >= 0 && channel.level <= 254);
        require(channel.hpType >= 0 && channel.hpType <= 4 && channel.lpType >= 0
            && channel.lpType <= 4);
        require(channel.threshold >= 0 && channel.threshold <= 60);
        require(channel.ratio >= 10 && channel.ratio <= 2000);
        for (const SpeakerBand &band : channel.bands)
            require(band.gain >= 0 && band.gain <= 300 && band.q >= 1 && band.q <= 1000);
    }
}

struct Fixture {
    Store store;
    ClientFrames frames;
    CheckingLink link { frames };
    ManualClock clock;
    NoDialogs prompts;
    test::FakeFiles files;
    Room room { RoomSeams { .store = store,
        .link = link,
        .clock = clock,
        .prompts = prompts,
        .files = files,
        .ownAddress = [] { return std::optional<std::string>("127.0.150.1"); },
        .presetFolder = "/presets" } };
    CheckingBroadcast everyone;
    ControlReports reports { store, everyone };
    ControlDispatcher dispatcher { room, frames, reports, everyone, "1.2.0" };

    Fixture()
    {
        const std::int32_t types[] = { 1, 2, 3, 4, 5, 9 };
        for (std::size_t slot = 0; slot < std::size(types); ++slot) {
            DeviceRecord &unit = store.unitTable[slot];
            unit.inUse = 1;
            unit.type = types[slot];
            setText(unit.ip, "127.0.150." + std::to_string(10 + slot));
            setText(unit.name, "Seat " + std::to_string(slot + 1));
        }
        store.scanActive = true;
        store.speaker.rdaConnected = 1;
        const PresetBytes preset = encodePreset(store.speaker);
        files.files["/presets/A.box"].assign(preset.begin(), preset.end());
        files.files["/presets/Short.box"].assign(preset.begin(), preset.end() - 1);
        room.observers().add(reports);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fixture fixture;
    ControlSession clients[2] { ControlSession(1), ControlSession(2) };
    int client = 0;
    std::size_t at = 0;
    while (at < size) {
        if (data[at] == 0xFF) {
            client = 1 - client;
            fixture.link.drain();
            fixture.clock.advance(400);
            ++at;
            continue;
        }
        // Pieces of up to 64 bytes, as a socket may deliver them.
        std::size_t length = 1;
        while (at + length < size && length < 64 && data[at + length] != 0xFF)
            ++length;
        const std::string_view piece(reinterpret_cast<const char *>(data + at), length);
        at += length;
        for (const ControlSession::Line &line : clients[client].take(piece)) {
            require(line.tooLong
                || (!line.text.empty() && line.text.size() <= ControlSession::LineLimit));
            if (line.tooLong)
                continue;
            for (const std::string &answer : fixture.dispatcher.handle(clients[client], line.text))
                requireLine(answer);
            checkStore(fixture.store);
        }
        fixture.room.tick();
    }
    return 0;
}
