#pragma once

#include "model/RingColours.h"
#include "model/RoomObserver.h"
#include "model/Store.h"
#include "seams/Clock.h"
#include "seams/Link.h"

#include <array>
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace arx {

// The settings a strip edits; each row of the send table names one.
enum class StripSetting {
    Gain,
    Mode,
    Mute,
    Phantom,
    Locate,
    LowCut,
    ColourIndex, // the colour combo boxes: an index into colourIndexTable
    ColourWide, // the drop-down colour buttons: a 24-bit colour, red in the low byte
};

// The frame that carries a change to the unit.
enum class StripFrame {
    None,
    Settings, // '%A'
    Settings5, // '%H'
    Colours, // '%M'
    ColoursDefaultCode, // '%O'
    ColoursWide, // '%P'
};

// One row of the send table: the frame by unit type.
struct StripSendRow {
    StripSetting setting;
    StripFrame arn1; // type 1
    StripFrame velK; // type 2
    StripFrame pxl2; // type 3
    StripFrame arn1Short; // type 4
    StripFrame velKShort; // type 5
};

// The frame that carries `setting` for a unit of `type`; None for an unknown type.
StripFrame stripFrameFor(StripSetting setting, std::int32_t type);

// The three light-ring colours, in the order of the strip's controls.
enum class RingColour { Open, Mute, Call };
std::int32_t DeviceRecord::*ringColourField(RingColour colour);

// Which of the controls that depend on the unit's type a strip shows. The mute, low-cut
// and locate toggles and the gain, mode and COPY controls are shown for every type.
struct StripControlsShown {
    bool phantom = false; // the 48 V toggle
    bool equaliser = false;
    bool colourLabels = false; // "OPEN:", "MUTE:", "CALL:"
    bool colourCombos = false; // colour by index
    bool colourButtons = false; // 24-bit colour
    bool operator==(const StripControlsShown &) const = default;
};
StripControlsShown stripControlsFor(std::int32_t type);

// The mode list, the same for every family; a record's mode is its index.
inline constexpr const char *ModeNames[] = { "OFF", "ON", "PTT", "PTM" };
constexpr int ModeCount = static_cast<int>(std::size(ModeNames));

// The gain list of the unit's family: ARN1 and PXL2 0..+15 dB, VEL-K -6..+15 dB.
std::span<const char *const> gainListFor(std::int32_t type);
// The list index a record's gain selects (PXL2 stores dB, the others the index itself).
int gainListIndex(const DeviceRecord &record);

// One entry of the COPY list: the unit's name as the bytes it sent, and its slot.
struct CopyEntry {
    std::string nameBytes;
    int slot = -1;
    bool operator==(const CopyEntry &) const = default;
};

// The COPY sources of `deviceIndex`: every online unit of the same type but itself, in
// slot order. The list's "NULL" entry is not among them.
std::vector<CopyEntry> copySources(const Store &store, int deviceIndex);

// Pauses of the strip's sending.
constexpr int StripRepeatPauseMs = 20; // between a frame and its repeat
constexpr int CopyFramePauseMs = 50; // after each frame of a COPY
constexpr int CopyEqPauseMs = 20; // after each equaliser frame of a COPY
constexpr std::int64_t LocateTimeoutMs = 10000;

// What an operator, a command client or a room file asks of a unit, in the values the window
// shows: switches 0 or 1, the gain in dB (a value of the family's gain list), the mode 0..3
// ("OFF", "ON", "PTT", "PTM"), and colours as 24-bit values, red in the low byte.
enum class UnitSetting {
    Gain,
    Mode,
    Mute,
    Phantom,
    Locate,
    LowCut,
    ColourOpen,
    ColourMute,
    ColourCall,
};

// The field a change touches, as observers hear it.
UnitField unitFieldOf(UnitSetting setting);

// What became of a change to one unit.
enum class ChangeOutcome {
    Changed,
    Lacks, // the unit's family has no such control (48 V on a VEL-K or PXL2 unit)
    NotHeld, // the family's list has no such value (-6 dB on an ARN1 unit, a colour an
             // indexed family cannot show, a switch other than 0 or 1)
    NotRegistered, // no such slot, or (for a set of units) nobody registered there
};

// The outcome of one change applied to a set of units, by slot.
struct ApplyResult {
    std::vector<int> changed;
    std::vector<int> skipped;
};

// A PXL2 equaliser band as its record holds it: frequency in Hz (20..20000), the gain code
// (dB x 10 + 300, 150..450) and the Q code (Q x 10, 1..1000).
struct EqualiserBandSetting {
    int frequency = 0;
    int gainCode = 0;
    int qCode = 0;
};
constexpr int EqualiserGainCodeMin = 150;
constexpr int EqualiserGainCodeMax = 450;
constexpr int EqualiserLowCutMin = 20;
constexpr int EqualiserLowCutMax = 200;

// The gain in dB of a family's list entry, and the entry that holds a gain; nothing when the
// family's list has no such gain.
int gainDb(std::int32_t type, int listIndex);
std::optional<int> gainListIndexOf(std::int32_t type, int db);
// What a unit's record says, in the values of UnitSetting (the gain in dB, colours 24-bit).
std::int32_t settingValue(const DeviceRecord &record, UnitSetting setting);

// The units' settings without a window, for every unit of the room: every change is stored
// first, then, only while the unit is online, sent as its family's frame twice, 20 ms apart,
// then announced. COPY, the whole setting sent again, and the locate time-out on the
// monotonic clock. Runs on the user-interface thread.
class UnitController {
public:
    UnitController(Store &store, Link &link, const Clock &clock, RoomObserver &announce);

    const Store &store() const { return store_; }

    // One setting of the unit in `slot`, online or not; nothing changes unless Changed.
    ChangeOutcome set(int slot, UnitSetting setting, std::int32_t value);
    // The same change to every registered unit of `slots` that can take it, each with its own
    // family's frames; the others are skipped.
    ApplyResult apply(std::span<const int> slots, UnitSetting setting, std::int32_t value);
    // As above for any change: `change` is made to each registered unit of `slots` in turn.
    ApplyResult apply(
        std::span<const int> slots, const std::function<ChangeOutcome(int slot)> &change);

    // The equaliser of a PXL2 unit without its dialog, by the dialog's send rules: band 1..4
    // takes all three values and goes out once.
    ChangeOutcome setEqualiserBand(int slot, int band, const EqualiserBandSetting &setting);
    // The equaliser's low cut: switched when `on` holds a value (the strip's low cut follows),
    // and its frequency, 20..200 Hz, when one is given.
    ChangeOutcome setEqualiserLowCut(
        int slot, std::optional<bool> on, std::optional<int> frequency);

    // COPY from the first online unit of the same type, other than this one, whose name is
    // exactly `nameBytes`; nothing when there is none. True when something was copied.
    bool copyFromUnit(int slot, const std::string &nameBytes);

    // The unit's whole setting as its record holds it, in the COPY sequence of its type with
    // its pauses, leaving out the frames that carry none of `fields`. Only while online.
    void sendAll(int slot, UnitFields fields = AllUnitFields);

    // Takes `fields` of another record of the unit (what it announced, as the reply parser
    // read it, or what a room file holds) into its record: stored and announced, nothing is
    // sent.
    void takeFields(int slot, const DeviceRecord &from, UnitFields fields);
    // As takeFields, then, while online, sends them as sendAll does before announcing them.
    void takeAndSendFields(int slot, const DeviceRecord &from, UnitFields fields);

    // Every 100 ms: locate goes off at the first tick at which more than 10 s have passed
    // since it was switched on, for every unit, shown or not.
    void tick();

private:
    DeviceRecord &record(int slot) { return store_.unitTable.at(static_cast<std::size_t>(slot)); }
    // Store done: sends the setting's frame twice if online.
    void sendTwice(int slot, StripSetting setting);
    void sendFrame(int slot, StripFrame frame);
    void sendLowCut(int slot);
    void storeFields(int slot, const DeviceRecord &from, UnitFields fields);

    Store &store_;
    Link &link_;
    const Clock &clock_;
    RoomObserver &announce_;
    // When each unit's locate was switched on, on the monotonic clock; empty while off.
    std::array<std::optional<std::int64_t>, UnitSlotCount> locateSinceMs_ {};
};

} // namespace arx
