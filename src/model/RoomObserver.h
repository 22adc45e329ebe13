#pragma once

#include <cstdint>
#include <vector>

namespace arx {

struct RoomCheckSummary;
struct UnitCheck;

// The settings of a unit that one change touched.
enum class UnitField : std::uint32_t {
    Gain = 1u << 0,
    LowCut = 1u << 1,
    Phantom = 1u << 2,
    Mute = 1u << 3,
    Locate = 1u << 4,
    Mode = 1u << 5,
    ColourOpen = 1u << 6,
    ColourMute = 1u << 7,
    ColourCall = 1u << 8,
    EqBand1 = 1u << 9, // the PXL2 equaliser bands 1..4 follow in order
    EqLowCut = 1u << 13, // the PXL2 equaliser's low cut
    Identity = 1u << 14, // name, address and type
};

class UnitFields {
public:
    constexpr UnitFields() = default;
    constexpr UnitFields(UnitField field)
        : bits_(static_cast<std::uint32_t>(field))
    {
    }
    constexpr UnitFields operator|(UnitFields other) const { return fromBits(bits_ | other.bits_); }
    constexpr UnitFields operator&(UnitFields other) const { return fromBits(bits_ & other.bits_); }
    constexpr bool contains(UnitField field) const
    {
        return (bits_ & static_cast<std::uint32_t>(field)) != 0;
    }
    constexpr bool empty() const { return bits_ == 0; }
    constexpr std::uint32_t bits() const { return bits_; }
    constexpr bool operator==(const UnitFields &) const = default;
    static constexpr UnitFields fromBits(std::uint32_t bits)
    {
        UnitFields fields;
        fields.bits_ = bits;
        return fields;
    }

private:
    std::uint32_t bits_ = 0;
};
constexpr UnitFields operator|(UnitField a, UnitField b)
{
    return UnitFields(a) | b;
}

// Band 1..4 of the PXL2 equaliser.
constexpr UnitField eqBandField(int band)
{
    return static_cast<UnitField>(static_cast<std::uint32_t>(UnitField::EqBand1) << (band - 1));
}

// The six switches and lists that the settings frames and reports carry.
inline constexpr UnitFields SettingsFields = UnitField::Gain | UnitField::LowCut
    | UnitField::Phantom | UnitField::Mute | UnitField::Locate | UnitField::Mode;
inline constexpr UnitFields ColourFields
    = UnitField::ColourOpen | UnitField::ColourMute | UnitField::ColourCall;
inline constexpr UnitFields EqualiserFields
    = UnitField::EqBand1 | eqBandField(2) | eqBandField(3) | eqBandField(4) | UnitField::EqLowCut;
inline constexpr UnitFields AllUnitFields
    = SettingsFields | ColourFields | EqualiserFields | UnitField::Identity;

// What changed on the processor's side, named by the speaker page's controls.
struct SpeakerChange {
    enum class Kind {
        Knob, // `id` is the knob's id
        Crossover, // `id` is the type selector's id: type, frequency and Q of that filter
        Level, // `id` is the level slider's id
        Phase, // `channel`
        Name,
        Channel, // every setting of `channel` (a channel or limiter reset)
        Everything, // a recall, or a setting sent whole
    };
    Kind kind = Kind::Everything;
    int id = 0;
    int channel = 0; // 0 is A, 1 is B
    bool operator==(const SpeakerChange &) const = default;
};

// The steps of a room check, as observers hear them.
enum class RoomCheckEvent {
    Started, // the search request went out again
    Skipped, // frames of the previous check were still queued
    Finished, // the answer window has closed: every unit's state is settled
    Updated, // the summary changed between those steps
};

// The actions on every registered unit at once.
enum class RoomAction { MuteAll, UnmuteAll, LocateOff };

// What became of one such action: how many units took it and how many were left alone.
struct RoomActionOutcome {
    RoomAction action = RoomAction::MuteAll;
    int changed = 0;
    int leftAlone = 0;
    bool operator==(const RoomActionOutcome &) const = default;
};

// Every change to the room, from any source (the window, a command client, a room file, the
// room check, the devices' own reports), is announced once to every observer, after it has
// been stored. Units are named by slot, 0..63 (unit number - 1). Observers read the store for
// the new values; they never ask another observer.
class RoomObserver {
public:
    virtual ~RoomObserver() = default;

    // The search started (true) or stopped; false also when a connection attempt gave up,
    // which releases the search button whatever the search does.
    virtual void searchChanged(bool /*pressed*/) { }
    // The unit list was rebuilt: units registered, moved or were renamed.
    virtual void unitListChanged() { }
    // A listed unit is to be shown: after every rebuild of the list, for each unit in it, and
    // when the operator asks for it.
    virtual void unitShown(int /*slot*/) { }
    // The search stopped and this unit's slot is free again.
    virtual void unitFreed(int /*slot*/) { }
    virtual void unitChanged(int /*slot*/, UnitFields /*changed*/) { }
    virtual void unitLevel(int /*slot*/) { }
    virtual void processorListChanged() { }
    // A connection attempt started: the speaker's page is where it goes on.
    virtual void connectionStarted() { }
    // The connection state changed: acknowledged, given up, or dropped with the search.
    virtual void connectionChanged() { }
    virtual void speakerChanged(const SpeakerChange & /*change*/) { }
    // The room check: a unit's state or its differences changed.
    virtual void unitCheckChanged(int /*slot*/, const UnitCheck & /*check*/) { }
    virtual void roomCheckChanged(RoomCheckEvent /*event*/, const RoomCheckSummary & /*summary*/) {
    }
    // An action on every registered unit was taken; each unit's change was announced before.
    virtual void roomActionTaken(const RoomActionOutcome & /*outcome*/) { }
};

// Passes every announcement on to the observers, in the order they were added. An observer
// may be removed, or added, while an announcement is under way: a removed one hears nothing
// more, an added one only the next announcement.
class RoomObservers final : public RoomObserver {
public:
    void add(RoomObserver &observer);
    void remove(RoomObserver &observer);

    void searchChanged(bool pressed) override;
    void unitListChanged() override;
    void unitShown(int slot) override;
    void unitFreed(int slot) override;
    void unitChanged(int slot, UnitFields changed) override;
    void unitLevel(int slot) override;
    void processorListChanged() override;
    void connectionStarted() override;
    void connectionChanged() override;
    void speakerChanged(const SpeakerChange &change) override;
    void unitCheckChanged(int slot, const UnitCheck &check) override;
    void roomCheckChanged(RoomCheckEvent event, const RoomCheckSummary &summary) override;
    void roomActionTaken(const RoomActionOutcome &outcome) override;

private:
    template <class Call> void announce(Call call);

    std::vector<RoomObserver *> observers_;
    int depth_ = 0; // announcements under way; removals only clear entries meanwhile
};

} // namespace arx
