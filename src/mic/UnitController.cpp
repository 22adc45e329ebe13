#include "mic/UnitController.h"

#include "dsp/CoefficientFrames.h"
#include "dsp/CoefficientSenders.h"
#include "mic/MicEqualiser.h"
#include "protocol/Senders.h"

#include <algorithm>
#include <iterator>

namespace arx {

namespace {

using enum StripFrame;

// The send table: which frame each family's unit takes for each setting.
constexpr StripSendRow SendTable[] = {
    { .setting = StripSetting::Gain,
        .arn1 = Settings,
        .velK = Settings5,
        .pxl2 = Settings,
        .arn1Short = Settings,
        .velKShort = Settings5 },
    { .setting = StripSetting::Mode,
        .arn1 = Settings,
        .velK = Settings5,
        .pxl2 = Settings,
        .arn1Short = Settings,
        .velKShort = Settings5 },
    { .setting = StripSetting::Mute,
        .arn1 = Settings,
        .velK = Settings5,
        .pxl2 = Settings,
        .arn1Short = Settings,
        .velKShort = Settings5 },
    { .setting = StripSetting::Phantom,
        .arn1 = Settings,
        .velK = Settings5,
        .pxl2 = Settings,
        .arn1Short = Settings,
        .velKShort = Settings5 },
    { .setting = StripSetting::Locate,
        .arn1 = Settings,
        .velK = Settings5,
        .pxl2 = Settings,
        .arn1Short = Settings,
        .velKShort = Settings5 },
    // PXL2 low cut goes its own way (an equaliser frame first); see setLowCut.
    { .setting = StripSetting::LowCut,
        .arn1 = Settings,
        .velK = Settings5,
        .pxl2 = Settings,
        .arn1Short = Settings,
        .velKShort = Settings5 },
    { .setting = StripSetting::ColourIndex,
        .arn1 = Colours,
        .velK = ColoursDefaultCode,
        .pxl2 = None,
        .arn1Short = None,
        .velKShort = None },
    { .setting = StripSetting::ColourWide,
        .arn1 = ColoursWide,
        .velK = ColoursWide,
        .pxl2 = ColoursWide,
        .arn1Short = ColoursWide,
        .velKShort = ColoursWide },
};

// One step of a COPY: a frame (or equaliser band 1..5 when `eqBand` is set), then a pause.
struct CopyStep {
    StripFrame frame = None;
    int eqBand = 0;
    int pauseMs = 0;
};

constexpr CopyStep CopyArn1[] = {
    { .frame = Colours, .pauseMs = CopyFramePauseMs },
    { .frame = Settings },
};
constexpr CopyStep CopyVelK[] = {
    { .frame = ColoursDefaultCode, .pauseMs = CopyFramePauseMs },
    { .frame = Settings5, .pauseMs = CopyFramePauseMs },
};
// A PXL2 unit takes its 24-bit colours in '%P'; '%M' would carry only their low bytes.
constexpr CopyStep CopyPxl2[] = {
    { .frame = ColoursWide, .pauseMs = CopyFramePauseMs },
    { .eqBand = 1, .pauseMs = CopyEqPauseMs },
    { .eqBand = 2, .pauseMs = CopyEqPauseMs },
    { .eqBand = 3, .pauseMs = CopyEqPauseMs },
    { .eqBand = 4, .pauseMs = CopyEqPauseMs },
    { .eqBand = MicLowCutBand, .pauseMs = CopyEqPauseMs },
    { .frame = Settings, .pauseMs = CopyFramePauseMs },
};
constexpr CopyStep CopyArn1Short[] = { { .frame = Settings, .pauseMs = CopyFramePauseMs } };
constexpr CopyStep CopyVelKShort[] = { { .frame = Settings5, .pauseMs = CopyFramePauseMs } };

std::span<const CopyStep> copySequenceFor(std::int32_t type)
{
    switch (type) {
    case UnitTypeArn1:
        return CopyArn1;
    case UnitTypeVelK:
        return CopyVelK;
    case UnitTypePxl2:
        return CopyPxl2;
    case UnitTypeArn1Short:
        return CopyArn1Short;
    case UnitTypeVelKShort:
        return CopyVelKShort;
    default:
        return {};
    }
}

// The fields a step of the sequence carries to the unit.
UnitFields carriedFields(const CopyStep &step)
{
    if (step.eqBand == MicLowCutBand)
        return UnitField::EqLowCut | UnitField::LowCut;
    if (step.eqBand != 0)
        return eqBandField(step.eqBand);
    if (step.frame == Settings || step.frame == Settings5)
        return SettingsFields;
    return ColourFields;
}

constexpr const char *GainList6[] = { "0dB", "+3dB", "+6dB", "+9dB", "+12dB", "+15dB" };
constexpr const char *GainList8[]
    = { "-6dB", "-3dB", "0dB", "+3dB", "+6dB", "+9dB", "+12dB", "+15dB" };
constexpr int Pxl2GainStepDb = 3;

bool isVelK(std::int32_t type)
{
    return type == UnitTypeVelK || type == UnitTypeVelKShort;
}

} // namespace

StripFrame stripFrameFor(StripSetting setting, std::int32_t type)
{
    const auto row = std::find_if(std::begin(SendTable), std::end(SendTable),
        [setting](const StripSendRow &r) { return r.setting == setting; });
    switch (type) {
    case UnitTypeArn1:
        return row->arn1;
    case UnitTypeVelK:
        return row->velK;
    case UnitTypePxl2:
        return row->pxl2;
    case UnitTypeArn1Short:
        return row->arn1Short;
    case UnitTypeVelKShort:
        return row->velKShort;
    default:
        return None;
    }
}

StripControlsShown stripControlsFor(std::int32_t type)
{
    switch (type) {
    case UnitTypeArn1:
        return { .phantom = true, .colourLabels = true, .colourCombos = true };
    case UnitTypeArn1Short:
        return { .phantom = true };
    case UnitTypeVelK:
        return { .colourLabels = true, .colourCombos = true };
    case UnitTypePxl2:
        return { .equaliser = true, .colourLabels = true, .colourButtons = true };
    default:
        return {};
    }
}

std::int32_t DeviceRecord::*ringColourField(RingColour colour)
{
    switch (colour) {
    case RingColour::Open:
        return &DeviceRecord::colourOpen;
    case RingColour::Mute:
        return &DeviceRecord::colourMute;
    case RingColour::Call:
        break;
    }
    return &DeviceRecord::colourCall;
}

std::span<const char *const> gainListFor(std::int32_t type)
{
    if (isVelK(type))
        return GainList8;
    return GainList6;
}

int gainListIndex(const DeviceRecord &record)
{
    return record.type == UnitTypePxl2 ? record.gain / Pxl2GainStepDb : record.gain;
}

std::vector<CopyEntry> copySources(const Store &store, int deviceIndex)
{
    std::vector<CopyEntry> sources;
    const std::int32_t type = store.unitTable.at(static_cast<std::size_t>(deviceIndex)).type;
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        const DeviceRecord &candidate = store.unitTable[static_cast<std::size_t>(slot)];
        if (candidate.inUse && candidate.type == type && slot != deviceIndex)
            sources.push_back({ .nameBytes = std::string(textOf(candidate.name)), .slot = slot });
    }
    return sources;
}

UnitField unitFieldOf(UnitSetting setting)
{
    switch (setting) {
    case UnitSetting::Gain:
        return UnitField::Gain;
    case UnitSetting::Mode:
        return UnitField::Mode;
    case UnitSetting::Mute:
        return UnitField::Mute;
    case UnitSetting::Phantom:
        return UnitField::Phantom;
    case UnitSetting::Locate:
        return UnitField::Locate;
    case UnitSetting::LowCut:
        return UnitField::LowCut;
    case UnitSetting::ColourOpen:
        return UnitField::ColourOpen;
    case UnitSetting::ColourMute:
        return UnitField::ColourMute;
    case UnitSetting::ColourCall:
        break;
    }
    return UnitField::ColourCall;
}

int gainDb(std::int32_t type, int listIndex)
{
    return Pxl2GainStepDb * listIndex - (isVelK(type) ? 6 : 0);
}

std::optional<int> gainListIndexOf(std::int32_t type, int db)
{
    const int entries = static_cast<int>(gainListFor(type).size());
    for (int index = 0; index < entries; ++index) {
        if (gainDb(type, index) == db)
            return index;
    }
    return std::nullopt;
}

namespace {

struct ColourSetting {
    UnitSetting setting;
    RingColour colour;
};
constexpr ColourSetting ColourSettings[] = {
    { UnitSetting::ColourOpen, RingColour::Open },
    { UnitSetting::ColourMute, RingColour::Mute },
    { UnitSetting::ColourCall, RingColour::Call },
};

std::optional<RingColour> ringColourOf(UnitSetting setting)
{
    for (const ColourSetting &row : ColourSettings) {
        if (row.setting == setting)
            return row.colour;
    }
    return std::nullopt;
}

// The index of a 24-bit colour among the eight an indexed family shows.
std::optional<std::int32_t> colourIndexOf(std::uint32_t wide)
{
    for (std::size_t index = 0; index < std::size(colourIndexTable); ++index) {
        if (wideColour(colourIndexTable[index]) == wide)
            return static_cast<std::int32_t>(index);
    }
    return std::nullopt;
}

std::int32_t DeviceRecord::*switchField(UnitSetting setting)
{
    switch (setting) {
    case UnitSetting::Mute:
        return &DeviceRecord::micMute;
    case UnitSetting::Phantom:
        return &DeviceRecord::phantom;
    case UnitSetting::Locate:
        return &DeviceRecord::locate;
    case UnitSetting::LowCut:
        return &DeviceRecord::lowCut;
    default:
        return nullptr;
    }
}

StripSetting switchRow(UnitSetting setting)
{
    switch (setting) {
    case UnitSetting::Mute:
        return StripSetting::Mute;
    case UnitSetting::Phantom:
        return StripSetting::Phantom;
    case UnitSetting::Locate:
        return StripSetting::Locate;
    default:
        return StripSetting::LowCut;
    }
}

} // namespace

std::int32_t settingValue(const DeviceRecord &record, UnitSetting setting)
{
    if (setting == UnitSetting::Gain)
        return gainDb(record.type, gainListIndex(record));
    if (setting == UnitSetting::Mode)
        return record.mode;
    if (const auto colour = ringColourOf(setting)) {
        const std::int32_t stored = record.*ringColourField(*colour);
        if (record.type == UnitTypePxl2)
            return stored & 0xFFFFFF;
        const bool indexed = stored >= 0 && stored < static_cast<int>(std::size(colourIndexTable));
        return indexed ? static_cast<std::int32_t>(wideColour(colourIndexTable[stored])) : -1;
    }
    return record.*switchField(setting);
}

UnitController::UnitController(Store &store, Link &link, const Clock &clock, RoomObserver &announce)
    : store_(store)
    , link_(link)
    , clock_(clock)
    , announce_(announce)
{
}

ChangeOutcome UnitController::set(int slot, UnitSetting setting, std::int32_t value)
{
    if (slot < 0 || slot >= UnitSlotCount)
        return ChangeOutcome::NotRegistered;
    DeviceRecord &unit = record(slot);
    const StripControlsShown controls = stripControlsFor(unit.type);
    if (unit.type < UnitTypeArn1 || unit.type > UnitTypeVelKShort)
        return ChangeOutcome::Lacks;

    if (setting == UnitSetting::Gain) {
        const auto index = gainListIndexOf(unit.type, value);
        if (!index)
            return ChangeOutcome::NotHeld;
        unit.gain = unit.type == UnitTypePxl2 ? Pxl2GainStepDb * *index : *index;
        sendTwice(slot, StripSetting::Gain);
    } else if (setting == UnitSetting::Mode) {
        if (value < 0 || value >= ModeCount)
            return ChangeOutcome::NotHeld;
        unit.mode = value;
        sendTwice(slot, StripSetting::Mode);
    } else if (const auto colour = ringColourOf(setting)) {
        if (!controls.colourCombos && !controls.colourButtons)
            return ChangeOutcome::Lacks;
        const auto wide = static_cast<std::uint32_t>(value);
        if (controls.colourButtons) {
            if (value < 0 || wide > 0xFFFFFFu)
                return ChangeOutcome::NotHeld;
            unit.*ringColourField(*colour) = value;
            sendTwice(slot, StripSetting::ColourWide);
        } else {
            const auto index = colourIndexOf(wide);
            if (!index)
                return ChangeOutcome::NotHeld;
            unit.*ringColourField(*colour) = *index;
            sendTwice(slot, StripSetting::ColourIndex);
        }
    } else {
        if (setting == UnitSetting::Phantom && !controls.phantom)
            return ChangeOutcome::Lacks;
        if (value != 0 && value != 1)
            return ChangeOutcome::NotHeld;
        unit.*switchField(setting) = value;
        if (setting == UnitSetting::Locate) {
            unit.locateActive = static_cast<std::uint8_t>(value);
            if (value)
                unit.locateStart = clock_.localTime();
            locateSinceMs_[static_cast<std::size_t>(slot)]
                = value ? std::optional(clock_.monotonicMs()) : std::nullopt;
        }
        if (setting == UnitSetting::LowCut && unit.type == UnitTypePxl2)
            sendLowCut(slot);
        else
            sendTwice(slot, switchRow(setting));
    }
    announce_.unitChanged(slot, unitFieldOf(setting));
    return ChangeOutcome::Changed;
}

ApplyResult UnitController::apply(
    std::span<const int> slots, UnitSetting setting, std::int32_t value)
{
    return apply(slots, [&](int slot) { return set(slot, setting, value); });
}

ApplyResult UnitController::apply(
    std::span<const int> slots, const std::function<ChangeOutcome(int slot)> &change)
{
    ApplyResult result;
    for (const int slot : slots) {
        const bool registered = slot >= 0 && slot < UnitSlotCount && record(slot).inUse != 0;
        if (registered && change(slot) == ChangeOutcome::Changed)
            result.changed.push_back(slot);
        else
            result.skipped.push_back(slot);
    }
    return result;
}

ChangeOutcome UnitController::setEqualiserBand(
    int slot, int band, const EqualiserBandSetting &setting)
{
    if (slot < 0 || slot >= UnitSlotCount)
        return ChangeOutcome::NotRegistered;
    if (record(slot).type != UnitTypePxl2 || band < 1 || band > MicEqBandCount)
        return ChangeOutcome::Lacks;
    if (setting.frequency < 20 || setting.frequency > 20000 || setting.qCode < 1
        || setting.qCode > 1000 || setting.gainCode < EqualiserGainCodeMin
        || setting.gainCode > EqualiserGainCodeMax)
        return ChangeOutcome::NotHeld;
    MicEqBand &stored = record(slot).eqBands[band - 1];
    stored.frequency = setting.frequency;
    stored.gain = setting.gainCode;
    stored.q = setting.qCode;
    sendEqualiserChange(link_, store_, slot, band);
    announce_.unitChanged(slot, eqBandField(band));
    return ChangeOutcome::Changed;
}

ChangeOutcome UnitController::setEqualiserLowCut(
    int slot, std::optional<bool> on, std::optional<int> frequency)
{
    if (slot < 0 || slot >= UnitSlotCount)
        return ChangeOutcome::NotRegistered;
    DeviceRecord &unit = record(slot);
    if (unit.type != UnitTypePxl2)
        return ChangeOutcome::Lacks;
    if (frequency && (*frequency < EqualiserLowCutMin || *frequency > EqualiserLowCutMax))
        return ChangeOutcome::NotHeld;
    if (frequency)
        unit.eqLowCutFrequency = *frequency;
    if (!on) {
        sendEqualiserChange(link_, store_, slot, MicLowCutBand);
        announce_.unitChanged(slot, UnitField::EqLowCut);
        return ChangeOutcome::Changed;
    }
    unit.eqLowCutOn = *on ? 1 : 0;
    unit.lowCut = unit.eqLowCutOn;
    sendLowCutSwitched(link_, store_, slot);
    announce_.unitChanged(slot, UnitField::EqLowCut | UnitField::LowCut);
    return ChangeOutcome::Changed;
}

void UnitController::sendLowCut(int slot)
{
    DeviceRecord &unit = record(slot);
    unit.eqLowCutOn = unit.lowCut;
    if (!unit.inUse)
        return;
    sendMicEqBand(link_, store_, std::string(textOf(unit.ip)), slot, MicLowCutBand);
    link_.pause(StripRepeatPauseMs);
    for (int repeat = 0; repeat < 2; ++repeat) {
        sendFrame(slot, Settings);
        link_.pause(StripRepeatPauseMs);
    }
}

void UnitController::tick()
{
    const std::int64_t now = clock_.monotonicMs();
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        DeviceRecord &unit = record(slot);
        std::optional<std::int64_t> &since = locateSinceMs_[static_cast<std::size_t>(slot)];
        if (!unit.locateActive) {
            since.reset();
            continue;
        }
        // Switched on where no time was taken (a record filled from a file): the time-out
        // counts from the first tick.
        if (!since)
            since = now;
        if (now - *since <= LocateTimeoutMs)
            continue;
        unit.locate = 0;
        sendTwice(slot, StripSetting::Locate);
        unit.locateActive = 0;
        since.reset();
        announce_.unitChanged(slot, UnitField::Locate);
    }
}

bool UnitController::copyFromUnit(int slot, const std::string &nameBytes)
{
    DeviceRecord &target = record(slot);
    const DeviceRecord *source = nullptr;
    for (int other = 0; other < UnitSlotCount && !source; ++other) {
        const DeviceRecord &candidate = store_.unitTable[static_cast<std::size_t>(other)];
        if (candidate.inUse && candidate.type == target.type && other != slot
            && textOf(candidate.name) == nameBytes)
            source = &candidate;
    }
    if (!source)
        return false;

    target.gain = source->gain;
    target.locate = source->locate;
    target.mode = source->mode;
    target.lowCut = source->lowCut;
    target.phantom = source->phantom;
    target.micMute = source->micMute;
    target.colourCall = source->colourCall;
    target.colourOpen = source->colourOpen;
    target.colourMute = source->colourMute;
    for (int band = 0; band < MicEqBandCount; ++band) {
        MicEqBand &to = target.eqBands[band];
        const MicEqBand &from = source->eqBands[band];
        to.frequency = from.frequency;
        to.gain = from.gain;
        to.q = from.q;
        to.enabled = from.enabled;
        to.shape = from.shape;
    }
    target.eqLowCutFrequency = source->eqLowCutFrequency;
    target.eqLowCutShape = source->eqLowCutShape;
    target.eqLowCutOn = source->eqLowCutOn;

    sendAll(slot);
    announce_.unitChanged(slot, SettingsFields | ColourFields | EqualiserFields);
    return true;
}

void UnitController::sendAll(int slot, UnitFields fields)
{
    DeviceRecord &unit = record(slot);
    if (!unit.inUse)
        return;
    const std::string address(textOf(unit.ip));
    for (const CopyStep &step : copySequenceFor(unit.type)) {
        if ((carriedFields(step) & fields).empty())
            continue;
        if (step.eqBand != 0)
            sendMicEqBand(link_, store_, address, slot, step.eqBand);
        else
            sendFrame(slot, step.frame);
        if (step.pauseMs != 0)
            link_.pause(step.pauseMs);
    }
}

void UnitController::takeFields(int slot, const DeviceRecord &from, UnitFields fields)
{
    storeFields(slot, from, fields);
    announce_.unitChanged(slot, fields);
}

void UnitController::takeAndSendFields(int slot, const DeviceRecord &from, UnitFields fields)
{
    storeFields(slot, from, fields);
    sendAll(slot, fields);
    announce_.unitChanged(slot, fields);
}

void UnitController::storeFields(int slot, const DeviceRecord &from, UnitFields fields)
{
    struct Taken {
        UnitField field;
        std::int32_t DeviceRecord::*member;
    };
    static constexpr Taken Members[] = {
        { UnitField::Gain, &DeviceRecord::gain },
        { UnitField::LowCut, &DeviceRecord::lowCut },
        { UnitField::Phantom, &DeviceRecord::phantom },
        { UnitField::Mute, &DeviceRecord::micMute },
        { UnitField::Locate, &DeviceRecord::locate },
        { UnitField::Mode, &DeviceRecord::mode },
        { UnitField::ColourOpen, &DeviceRecord::colourOpen },
        { UnitField::ColourMute, &DeviceRecord::colourMute },
        { UnitField::ColourCall, &DeviceRecord::colourCall },
        { UnitField::EqLowCut, &DeviceRecord::eqLowCutFrequency },
        { UnitField::EqLowCut, &DeviceRecord::eqLowCutShape },
    };
    DeviceRecord &unit = record(slot);
    for (const Taken &taken : Members) {
        if (fields.contains(taken.field))
            unit.*taken.member = from.*taken.member;
    }
    // As a low cut switched on the strip: the PXL2 equaliser's low cut follows it.
    if (fields.contains(UnitField::LowCut) && unit.type == UnitTypePxl2)
        unit.eqLowCutOn = unit.lowCut;
    for (int band = 0; band < MicEqBandCount; ++band) {
        if (!fields.contains(eqBandField(band + 1)))
            continue;
        MicEqBand &to = unit.eqBands[band];
        const MicEqBand &taken = from.eqBands[band];
        to.shape = taken.shape;
        to.frequency = taken.frequency;
        to.q = taken.q;
        to.gain = taken.gain;
        to.enabled = taken.enabled;
    }
}

void UnitController::sendTwice(int slot, StripSetting setting)
{
    if (!record(slot).inUse)
        return;
    const StripFrame frame = stripFrameFor(setting, record(slot).type);
    if (frame == None)
        return;
    sendFrame(slot, frame);
    link_.pause(StripRepeatPauseMs);
    sendFrame(slot, frame);
}

void UnitController::sendFrame(int slot, StripFrame frame)
{
    switch (frame) {
    case None:
        return;
    case Settings:
        SendUnitSettings(link_, store_, slot);
        return;
    case Settings5:
        SendUnitSettings5(link_, store_, slot);
        return;
    case Colours:
        SendColours(link_, store_, slot);
        return;
    case ColoursDefaultCode:
        SendColoursDefaultCode(link_, store_, slot);
        return;
    case ColoursWide:
        SendColoursWide(link_, store_, slot);
        return;
    }
}

} // namespace arx
