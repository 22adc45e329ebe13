#pragma once

#include "control/ClientFrames.h"
#include "control/ControlParameters.h"
#include "model/RoomObserver.h"
#include "model/Store.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace arx {

// "< REP index PARAM value >" and its kin, without the line end.
std::string messageLine(std::string_view kind, std::string_view index, std::string_view parameter,
    std::string_view value);

// Where the REPs that every client gets go: the command server writes each line to all of them.
class ControlBroadcast {
public:
    virtual ~ControlBroadcast() = default;
    virtual void broadcast(const std::string &line) = 0;
    // One client's answer that comes after its command has returned (a room file's apply);
    // nothing when the client has gone.
    virtual void sendTo(ClientFrames::ClientId client, const std::string &line) = 0;
};

// Turns every announcement of the room into the REPs of the values it changed, formatted once
// for all clients. A value is pushed only when its text differs from the one pushed last, so
// a unit that echoes a setting back, or a report that repeats what is known, sends nothing.
// A unit's REPs go out while it is registered; DEVICE also when its slot is freed (NONE).
class ControlReports final : public RoomObserver {
public:
    // What the store holds now counts as pushed: only later changes are.
    ControlReports(const Store &store, ControlBroadcast &out);

    // One command's answers begin: what is pushed from now on counts as pushed during it.
    void beginCommand() { ++generation_; }
    bool reportedDuringCommand(int slot, UnitParameter parameter) const;
    bool reportedDuringCommand(const SpeakerParameterEntry &entry) const;
    bool searchReportedDuringCommand() const { return search_.generation == generation_; }
    bool checkReportedDuringCommand() const { return check_.generation == generation_; }

    void searchChanged(bool pressed) override;
    void unitListChanged() override;
    void unitFreed(int slot) override;
    void unitChanged(int slot, UnitFields changed) override;
    void connectionStarted() override;
    void connectionChanged() override;
    void speakerChanged(const SpeakerChange &change) override;
    void unitCheckChanged(int slot, const UnitCheck &check) override;
    void roomCheckChanged(RoomCheckEvent event, const RoomCheckSummary &summary) override;

private:
    struct Pushed {
        std::string text;
        bool known = false;
        std::uint64_t generation = 0;
    };
    static constexpr std::size_t UnitParameterCount
        = static_cast<std::size_t>(UnitParameter::Level) + 1;

    // Takes the value as known without pushing it.
    void know(Pushed &pushed, std::string text);
    void push(Pushed &pushed, const std::string &index, const char *parameter, std::string text);
    void reportUnit(int slot, const UnitParameterRow &row);
    void reportDevice(int slot);
    void reportSpeaker(const SpeakerParameterEntry &entry);
    Pushed &unitPushed(int slot, UnitParameter parameter);

    const Store &store_;
    ControlBroadcast &out_;
    std::uint64_t generation_ = 1;
    std::array<std::array<Pushed, UnitParameterCount>, UnitSlotCount> units_ {};
    std::vector<Pushed> speaker_; // in the order of speakerParameters()
    // What the room check last found of each unit, for DEVICE.
    std::array<UnitCheckState, UnitSlotCount> checks_ {};
    Pushed search_;
    Pushed check_;
};

} // namespace arx
