#pragma once

#include "control/ClientFrames.h"
#include "control/ControlParameters.h"
#include "control/ControlReports.h"
#include "control/ControlSession.h"
#include "control/ControlSyntax.h"
#include "room/Room.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace arx {

// The answers for lines the dispatcher never sees.
inline constexpr const char *TooManyClientsLine = "< ERR - - too many clients >";
inline constexpr const char *LineTooLongLine = "< ERR - - line too long >";

// Turns one line of a room-control client into calls on the room's controllers, the same ones
// the window calls, with the command as its own confirmation: nothing asks, nothing opens a
// dialog or switches the window's page. A SET's new values reach every client as REPs through
// the room's announcements (ControlReports); what is returned goes to this client alone: the
// ERR of a refusal, the REPs of a GET, and the REP of a value the SET left as it was, which
// no announcement pushed. A refused line changes nothing. Runs on the user-interface thread.
class ControlDispatcher {
public:
    // Searches, room checks and device resets are taken at most this often, from all clients
    // together (each action on its own).
    static constexpr std::int64_t ActionIntervalMs = 1000;

    ControlDispatcher(Room &room, ClientFrames &frames, ControlReports &reports,
        ControlBroadcast &everyone, std::string version);

    std::vector<std::string> handle(ControlSession &session, std::string_view line);

private:
    struct Command {
        ControlSession &session;
        const ControlRequest &request;
        std::vector<std::string> answers;

        void refuse(const std::string &reason);
        void reply(std::string_view index, std::string_view parameter, std::string_view value);
    };
    enum class PacedAction { Search, Check, DeviceReset };

    void handleUnits(Command &command, std::optional<int> slot);
    void handleSpeaker(Command &command);
    void handleArx(Command &command);
    void runCheck(Command &command, bool get);
    // ROOM_SAVE, ROOM_DIFF and ROOM_APPLY, with a room file named as a RECALL names a preset.
    // An apply is answered once it has finished.
    void handleRoomFile(Command &command, bool get);
    void setSpeaker(Command &command, const SpeakerParameterEntry &entry);
    bool runSpeakerAction(Command &command, const SpeakerParameterEntry &entry);
    // Takes the action unless it ran less than ActionIntervalMs ago (then busy is answered).
    bool admit(Command &command, PacedAction action);
    // Whether `frames` more fit within the client's share of the paced link (else busy).
    bool roomFor(Command &command, std::size_t frames);

    Room &room_;
    ClientFrames &frames_;
    ControlReports &reports_;
    ControlBroadcast &everyone_;
    std::string version_;
    std::optional<std::int64_t> lastActionMs_[3];
    // An apply that outlives the dispatcher answers nobody.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace arx
