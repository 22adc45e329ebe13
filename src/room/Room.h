#pragma once

#include "mic/UnitController.h"
#include "model/RoomObserver.h"
#include "model/Store.h"
#include "protocol/Datagram.h"
#include "protocol/Discovery.h"
#include "room/RoomActions.h"
#include "room/RoomCheck.h"
#include "roomfile/RoomApply.h"
#include "roomfile/RoomFiles.h"
#include "seams/Clock.h"
#include "seams/Files.h"
#include "seams/Link.h"
#include "seams/Prompts.h"
#include "speaker/PresetController.h"
#include "speaker/SpeakerEditing.h"

#include <string>

namespace arx {

// The seams and settings a room is built on.
struct RoomSeams {
    Store &store;
    Link &link;
    const Clock &clock;
    Prompts &prompts;
    Files &files;
    // The address the search and connection requests carry.
    OwnAddressLookup ownAddress;
    // Where presets and room files live, and where the preset dialogs start.
    std::string presetFolder;
    // The period of the automatic room check; 0 checks only when asked.
    std::int64_t checkIntervalMs = RoomCheck::DefaultIntervalSeconds * 1000;
    // The program's version, which room files record.
    std::string version = {};
};

// The installation as ARX controls it, without any window: the one path of every change.
// Whoever changes the room (the window, a command client, a room file, the room check, the
// devices' own reports) goes through these controllers, which store first, then send the
// documented frames and pauses only while the unit is online or the processor connected,
// then announce the change once to every observer. The window and the command server are
// two such observers. Runs on the user-interface thread.
class Room {
public:
    // The tick's period: locate time-outs and connection retries are counted on it.
    static constexpr int TickMs = 100;

    // Writes the start values into the store.
    explicit Room(RoomSeams seams);
    Room(const Room &) = delete;
    Room &operator=(const Room &) = delete;

    Store &store() { return store_; }
    const Clock &clock() const { return clock_; }
    RoomObservers &observers() { return observers_; }
    Discovery &discovery() { return discovery_; }
    UnitController &units() { return units_; }
    SpeakerEditor &speaker() { return speaker_; }
    PresetController &presets() { return presets_; }
    RoomCheck &check() { return check_; }
    RoomFiles &roomFiles() { return roomFiles_; }
    RoomActions &actions() { return actions_; }
    const std::string &presetFolder() const { return presetFolder_; }

    // Every datagram from the command socket.
    Discovery::Received received(const Datagram &datagram);
    // Every TickMs, whatever is shown: connection retries, locate time-outs, the room check,
    // a room file's apply.
    void tick();

private:
    Store &store_;
    const Clock &clock_;
    std::string presetFolder_;
    RoomObservers observers_;
    Discovery discovery_;
    UnitController units_;
    SpeakerEditor speaker_;
    PresetController presets_;
    RoomCheck check_;
    RoomApply apply_;
    RoomFiles roomFiles_;
    RoomActions actions_;
};

} // namespace arx
