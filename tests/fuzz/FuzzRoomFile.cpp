// libFuzzer target: the room file loader, an apply of what it accepts, and the save of what
// units announce.
//
// The input is first the content of a file chosen with "Open room…". Whatever the bytes, the
// loader refuses with a reason or accepts. What it accepts, written back, reads back as the
// same file, byte for byte. Applied to a room of the same units with other settings, it leaves
// the room holding exactly what the file holds, and every frame goes to one of those units or
// to the processor.
//
// The input is then a unit's datagrams (split at 0xFF bytes) while the search is on: whatever a
// unit announced or reported, the room ARX saves is a file it reads back, and one that holds
// exactly what the room holds.

#include "FuzzRequire.h"
#include "protocol/Datagram.h"
#include "room/Room.h"
#include "roomfile/RoomComparison.h"
#include "roomfile/RoomFileFields.h"
#include "roomfile/RoomFileJson.h"
#include "speaker/SpeakerSetting.h"

#include "FakeFiles.h"
#include "ScriptedPrompts.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>

namespace {

using namespace arx;

constexpr const char *ProcessorAddress = "127.0.160.200";

// Lets through only frames to the addresses it was given.
class CheckingLink final : public Link {
public:
    bool send(const std::string &address, std::uint16_t port,
        std::span<const std::uint8_t> bytes) override
    {
        require(allowed.contains(address));
        require(port == 39030 || port == 39060);
        require(!bytes.empty() && bytes.size() <= 64);
        return true;
    }
    void pause(int milliseconds) override { require(milliseconds > 0 && milliseconds <= 100); }

    std::set<std::string> allowed { ProcessorAddress };
};

struct Fixture {
    Store store;
    CheckingLink link;
    ManualClock clock;
    test::ScriptedPrompts prompts;
    test::FakeFiles files;
    Room room { RoomSeams { .store = store,
        .link = link,
        .clock = clock,
        .prompts = prompts,
        .files = files,
        .ownAddress = [] { return std::optional<std::string>("127.0.160.1"); },
        .presetFolder = "/presets" } };
};

bool allSame(const RoomComparison &comparison)
{
    for (const ComparisonRow &row : comparison.rows) {
        if (row.state != RowState::Same || !row.differences.empty())
            return false;
    }
    return true;
}

void saveWhatAUnitSent(std::string_view bytes)
{
    Fixture fixture;
    fixture.store.scanActive = true;
    fixture.link.allowed.insert("127.0.160.10");
    for (std::size_t start = 0; start <= bytes.size();) {
        const std::size_t end = std::min(bytes.find('\xFF', start), bytes.size());
        const std::string_view piece = bytes.substr(start, end - start);
        start = end + 1;
        if (piece.empty() || piece.size() > DatagramCapacity)
            continue;
        Datagram datagram {
            .bytes = {}, .length = piece.size(), .sender = "127.0.160.10", .senderPort = 39030
        };
        std::copy(piece.begin(), piece.end(), datagram.bytes.begin());
        fixture.room.received(datagram);
    }
    const RoomFileRead saved = readRoomFile(roomFileText(roomFileOf(fixture.store, "", "")));
    require(saved.file.has_value());
    require(allSame(compareRoom(*saved.file, fixture.store)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    saveWhatAUnitSent(text);
    const RoomFileRead read = readRoomFile(text);
    require(read.file.has_value() == read.problem.empty());
    if (!read.file)
        return 0;
    const RoomFile &file = *read.file;

    const std::string written = roomFileText(file);
    const RoomFileRead again = readRoomFile(written);
    require(again.file.has_value() && roomFileText(*again.file) == written);

    // The same units, registered with the settings of a fresh room, and a processor.
    Fixture fixture;
    for (std::size_t slot = 0; slot < file.units.size(); ++slot) {
        DeviceRecord &unit = fixture.store.unitTable[slot];
        const DeviceRecord &saved = file.units[slot];
        unit.inUse = 1;
        unit.type = saved.type;
        std::memcpy(unit.name, saved.name, sizeof unit.name);
        std::memcpy(unit.ip, saved.ip, sizeof unit.ip);
        fixture.link.allowed.insert(std::string(textOf(unit.ip)));
    }
    fixture.store.speaker.rdaConnected = 1;
    fixture.store.rdaAddress = ProcessorAddress;
    RoomFiles &files = fixture.room.roomFiles();
    require(files.apply().start(applyPlan(compareRoom(file, fixture.store), file, fixture.store)));
    require(!files.apply().running());

    // A Variable crossover goes out, and is kept, with a Q of at least 1.
    RoomFile expected = file;
    if (expected.processor)
        limitVariableCrossoverQ(expected.processor->setting);
    require(allSame(compareRoom(expected, fixture.store)));
    return 0;
}
