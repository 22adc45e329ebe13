#pragma once

#include "model/RingColours.h"
#include "model/Store.h"
#include "seams/Clock.h"
#include "seams/Link.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace arx {

// What the strip's window does for its controller.
class StripView {
public:
    virtual ~StripView() = default;
    // Copy the record into the controls (after COPY).
    virtual void refreshFromRecord() = 0;
    // Locate went off by itself: the locate toggle shows 0.
    virtual void locateTimedOut() = 0;
};

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

// The gain list of the unit's family: ARN1 and PXL2 0..+15 dB, VEL-K -6..+15 dB.
std::span<const char *const> gainListFor(std::int32_t type);
// The list index a record's gain selects (PXL2 stores dB, the others the index itself).
int gainListIndex(const DeviceRecord &record);

// One entry of the COPY list: the unit's name as the bytes it sent, and its slot.
struct CopyEntry {
    std::string nameBytes;
    int slot = -1;

    friend bool operator==(const CopyEntry &, const CopyEntry &) = default;
};

// The COPY sources of `deviceIndex`: every online unit of the same type but itself, in
// slot order. The list's "NULL" entry is not among them.
std::vector<CopyEntry> copySources(const Store &store, int deviceIndex);

// Pauses of the strip's sending.
constexpr int StripRepeatPauseMs = 20; // between a frame and its repeat
constexpr int CopyFramePauseMs = 50; // after each frame of a COPY
constexpr int CopyEqPauseMs = 20; // after each equaliser frame of a COPY
constexpr std::int64_t LocateTimeoutMs = 10000;

// The behaviour of one strip without its window: every change is stored first and sent,
// only while the unit is online, as its family's frame twice, 20 ms apart; COPY; and the
// locate time-out on the monotonic clock.
class StripController {
public:
    StripController(Store &store, Link &link, const Clock &clock, StripView &view);

    // The record this strip shows, 0..63.
    void setDeviceIndex(int deviceIndex) { deviceIndex_ = deviceIndex; }
    int deviceIndex() const { return deviceIndex_; }
    const Store &store() const { return store_; }
    DeviceRecord &record() { return store_.unitTable.at(static_cast<std::size_t>(deviceIndex_)); }

    // A choice from the gain or mode list.
    void chooseGain(int listIndex);
    void chooseMode(int listIndex);
    // A toggle's new state, 0 or 1.
    void setMute(int state);
    void setPhantom(int state);
    void setLocate(int state);
    void setLowCut(int state);
    void chooseColourIndex(RingColour colour, int index);
    void chooseColourWide(RingColour colour, std::uint32_t colourValue);

    // Timer 2, every 100 ms while the strip is shown: locate goes off at the first tick at
    // which more than 10 s have passed since it was switched on.
    void tick();

    // COPY from the first online unit of the same type, other than this one, whose name is
    // exactly `nameBytes`; nothing when there is none. True when something was copied.
    bool copyFromUnit(const std::string &nameBytes);

private:
    bool online() { return record().inUse != 0; }
    // Store done: sends the setting's frame twice if online.
    void sendTwice(StripSetting setting);
    void sendFrame(StripFrame frame);

    Store &store_;
    Link &link_;
    const Clock &clock_;
    StripView &view_;
    int deviceIndex_ = 0;
    // When locate was switched on, on the monotonic clock; empty while it is off.
    std::optional<std::int64_t> locateSinceMs_;
};

} // namespace arx
