#pragma once

#include "control/ControlValues.h"
#include "mic/UnitController.h"
#include "model/RoomObserver.h"
#include "model/Store.h"
#include "model/UnitCheck.h"
#include "speaker/SpeakerEditing.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace arx {

// The parameters of the room-control connection: one table for the units' and one for the
// processor's, each row naming what a GET reads, what a SET changes, which announcements
// report it anew and how many frames one change may queue.

enum class UnitParameter {
    Device,
    Name,
    Mute,
    LowCut,
    Phantom,
    Locate,
    Gain,
    Mode,
    ColourOpen,
    ColourMute,
    ColourCall,
    Eq1,
    Eq2,
    Eq3,
    Eq4,
    EqLowCut,
    Level,
};

struct UnitParameterRow {
    const char *name;
    UnitParameter parameter;
    // The announced changes after which its REP is due; none for those never pushed.
    UnitFields reportedOn;
    // The unit controller's setting behind a SET; none for the equaliser and the read-only.
    std::optional<UnitSetting> setting = std::nullopt;
    bool settable = false;
    // The most frames one unit's change queues.
    int mostFrames = 0;
};

std::span<const UnitParameterRow> unitParameters();
// By upper-cased name; nothing for an unknown one.
const UnitParameterRow *findUnitParameter(std::string_view name);
// Band 1..4 of EQ1..EQ4, 0 for the other parameters.
int equaliserBandOf(UnitParameter parameter);

// Whether the unit's family has the parameter (48 V only on ARN1, colours not on the short
// variants, the equaliser only on PXL2).
bool unitHas(const DeviceRecord &record, UnitParameter parameter);
// The value as a REP carries it. A free slot's DEVICE is NONE.
// ARX CHECK reads RUNNING while a room check waits for the units' answers, else IDLE.
inline std::string checkStateText(bool running)
{
    return running ? "RUNNING" : "IDLE";
}

// DEVICE reads "name" address family state, or NONE for a free number; the state is what
// the room check last found: ONLINE, DIFFERS or NOT_RESPONDING.
std::string unitValueText(const DeviceRecord &record, UnitParameter parameter,
    UnitCheckState check = UnitCheckState::Answering);

enum class SpeakerParameterKind {
    Connected, // GET: ON address, CONNECTING address or OFF
    Connect, // SET address
    Level,
    Phase,
    Name,
    Knob,
    CrossoverType,
    Action, // SET without a value
};
enum class SpeakerAction { None, DeviceReset, ChannelReset, LimiterReset, Recall };

struct SpeakerParameterEntry {
    std::string name;
    SpeakerParameterKind kind;
    int channel = -1; // 0 (A), 1 (B), or -1 for the processor as a whole
    SpeakerKnob knob = {}; // Knob
    int selectorListId = 0; // CrossoverType
    CrossoverPass pass = CrossoverPass::HighPass; // CrossoverType
    int crossoverSelectorId = 0; // the selector whose change reports it anew
    int sliderId = 0; // Level
    LevelTarget levelTarget = LevelTarget::Main; // Level
    int buttonId = 0; // channel and limiter resets
    SpeakerAction action = SpeakerAction::None;
    int mostFrames = 1;

    bool hasValue() const
    {
        return kind != SpeakerParameterKind::Connect && kind != SpeakerParameterKind::Action;
    }
};

// Every processor parameter: CONNECTED, CONNECT, LEVEL_MAIN, LEVEL_A, LEVEL_B, PHASE_A,
// PHASE_B, NAME, every knob as A_BAND3_GAIN, B_HP_FREQUENCY, A_THRESHOLD..., A_HP_TYPE ...,
// and the actions DEVICE_RESET, A_RESET, B_RESET, A_LIMITER_RESET, B_LIMITER_RESET, RECALL.
std::span<const SpeakerParameterEntry> speakerParameters();
const SpeakerParameterEntry *findSpeakerParameter(std::string_view name);
// The scale a knob's value is written in.
CodeScale knobScale(const SpeakerKnobRow &row);
std::string speakerValueText(const Store &store, const SpeakerParameterEntry &entry);
// Whether a change of the processor reports this parameter anew.
bool speakerChangeReports(const SpeakerChange &change, const SpeakerParameterEntry &entry);

} // namespace arx
