#include "mic/StripController.h"

#include "dsp/CoefficientFrames.h"
#include "dsp/CoefficientSenders.h"
#include "protocol/Senders.h"

#include <algorithm>

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

StripController::StripController(Store &store, Link &link, const Clock &clock, StripView &view)
    : store_(store)
    , link_(link)
    , clock_(clock)
    , view_(view)
{
}

void StripController::chooseGain(int listIndex)
{
    record().gain = record().type == UnitTypePxl2 ? Pxl2GainStepDb * listIndex : listIndex;
    sendTwice(StripSetting::Gain);
}

void StripController::chooseMode(int listIndex)
{
    record().mode = listIndex;
    sendTwice(StripSetting::Mode);
}

void StripController::setMute(int state)
{
    record().micMute = state;
    sendTwice(StripSetting::Mute);
}

void StripController::setPhantom(int state)
{
    record().phantom = state;
    sendTwice(StripSetting::Phantom);
}

void StripController::setLocate(int state)
{
    DeviceRecord &unit = record();
    unit.locate = state;
    if (state) {
        unit.locateActive = 1;
        unit.locateStart = clock_.localTime();
        locateSinceMs_ = clock_.monotonicMs();
    } else {
        unit.locateActive = 0;
        locateSinceMs_.reset();
    }
    sendTwice(StripSetting::Locate);
}

void StripController::setLowCut(int state)
{
    DeviceRecord &unit = record();
    unit.lowCut = state;
    if (unit.type != UnitTypePxl2) {
        sendTwice(StripSetting::LowCut);
        return;
    }
    unit.eqLowCutOn = state;
    if (!online())
        return;
    sendMicEqBand(link_, store_, std::string(textOf(unit.ip)), deviceIndex_, MicLowCutBand);
    link_.pause(StripRepeatPauseMs);
    for (int repeat = 0; repeat < 2; ++repeat) {
        sendFrame(Settings);
        link_.pause(StripRepeatPauseMs);
    }
}

void StripController::chooseColourIndex(RingColour colour, int index)
{
    record().*ringColourField(colour) = index;
    sendTwice(StripSetting::ColourIndex);
}

void StripController::chooseColourWide(RingColour colour, std::uint32_t colourValue)
{
    record().*ringColourField(colour) = static_cast<std::int32_t>(colourValue & 0xFFFFFFu);
    sendTwice(StripSetting::ColourWide);
}

void StripController::tick()
{
    DeviceRecord &unit = record();
    if (!unit.locateActive) {
        locateSinceMs_.reset();
        return;
    }
    const std::int64_t now = clock_.monotonicMs();
    // Switched on elsewhere than this strip: the time-out counts from the first tick.
    if (!locateSinceMs_)
        locateSinceMs_ = now;
    if (now - *locateSinceMs_ <= LocateTimeoutMs)
        return;
    unit.locate = 0;
    view_.locateTimedOut();
    sendTwice(StripSetting::Locate);
    unit.locateActive = 0;
    locateSinceMs_.reset();
}

bool StripController::copyFromUnit(const std::string &nameBytes)
{
    DeviceRecord &target = record();
    const DeviceRecord *source = nullptr;
    for (int slot = 0; slot < UnitSlotCount && !source; ++slot) {
        const DeviceRecord &candidate = store_.unitTable[static_cast<std::size_t>(slot)];
        if (candidate.inUse && candidate.type == target.type && slot != deviceIndex_
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

    view_.refreshFromRecord();
    if (!online())
        return true;
    const std::string address(textOf(target.ip));
    for (const CopyStep &step : copySequenceFor(target.type)) {
        if (step.eqBand != 0)
            sendMicEqBand(link_, store_, address, deviceIndex_, step.eqBand);
        else
            sendFrame(step.frame);
        if (step.pauseMs != 0)
            link_.pause(step.pauseMs);
    }
    return true;
}

void StripController::sendTwice(StripSetting setting)
{
    if (!online())
        return;
    const StripFrame frame = stripFrameFor(setting, record().type);
    if (frame == None)
        return;
    sendFrame(frame);
    link_.pause(StripRepeatPauseMs);
    sendFrame(frame);
}

void StripController::sendFrame(StripFrame frame)
{
    switch (frame) {
    case None:
        return;
    case Settings:
        SendUnitSettings(link_, store_, deviceIndex_);
        return;
    case Settings5:
        SendUnitSettings5(link_, store_, deviceIndex_);
        return;
    case Colours:
        SendColours(link_, store_, deviceIndex_);
        return;
    case ColoursDefaultCode:
        SendColoursDefaultCode(link_, store_, deviceIndex_);
        return;
    case ColoursWide:
        SendColoursWide(link_, store_, deviceIndex_);
        return;
    }
}

} // namespace arx
