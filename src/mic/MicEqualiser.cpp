#include "mic/MicEqualiser.h"

#include "dsp/BandKinds.h"
#include "dsp/CoefficientSenders.h"
#include "protocol/Senders.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace arx {

namespace {

constexpr int ResetFrequencies[MicEqBandCount] = { 100, 500, 2000, 5000 };
constexpr int ResetQ = 20;
constexpr int ZeroDbGain = 300;
constexpr int ResetLowCutFrequency = 20;
constexpr int ResetLowCutShape = 4;
constexpr int ResetLowCutQ = 200;
constexpr int MinQCode = 1;
constexpr int MaxQCode = 1000;

bool online(const Store &store, int slot)
{
    return store.unitTable.at(static_cast<std::size_t>(slot)).inUse != 0;
}

void sendBandFrame(Link &link, const Store &store, int slot, int band)
{
    const DeviceRecord &record = store.unitTable.at(static_cast<std::size_t>(slot));
    sendMicEqBand(link, store, std::string(textOf(record.ip)), slot, band);
}

// The settings frame while the low cut is off, after a low-cut frame.
void sendLowCutFollowUp(Link &link, const Store &store, int slot)
{
    if (store.unitTable.at(static_cast<std::size_t>(slot)).eqLowCutOn != 0)
        return;
    SendUnitSettings(link, store, slot);
    link.pause(MicEqualiser::FramePauseMs);
}

} // namespace

void sendEqualiserChange(Link &link, const Store &store, int slot, int band)
{
    if (!online(store, slot))
        return;
    sendBandFrame(link, store, slot, band);
    if (band == EqLowCutBand)
        sendLowCutFollowUp(link, store, slot);
}

void sendLowCutSwitched(Link &link, const Store &store, int slot)
{
    if (!online(store, slot))
        return;
    sendBandFrame(link, store, slot, EqLowCutBand);
    link.pause(MicEqualiser::FramePauseMs);
    SendUnitSettings(link, store, slot);
    link.pause(MicEqualiser::FramePauseMs);
}

UnitFields equaliserBandFields(int band)
{
    return band == EqLowCutBand ? UnitFields(UnitField::EqLowCut) : eqBandField(band);
}

MicEqualiser::MicEqualiser(Store &store, Link &link, const Clock &clock, int deviceIndex,
    MicEqualiserView &view, RoomObserver *announce)
    : store_(store)
    , link_(link)
    , clock_(clock)
    , deviceIndex_(deviceIndex)
    , view_(view)
    , announce_(announce)
{
    if (deviceIndex < 0 || deviceIndex >= UnitSlotCount)
        throw std::out_of_range("equaliser of a unit slot that does not exist");
}

void MicEqualiser::sendBand(int band)
{
    if (isOnline())
        sendBandFrame(link_, store_, deviceIndex_, band);
}

void MicEqualiser::announce(UnitFields fields)
{
    if (!announce_)
        return;
    announcing_ = true;
    announce_->unitChanged(deviceIndex_, fields);
    announcing_ = false;
}

void MicEqualiser::controlChanged(int controlId, int value, bool released)
{
    const std::optional<EqControl> control = eqControlById(controlId);
    if (!control)
        return;
    const int code = eqCodeFromControl(control->field, control->slider, value);
    DeviceRecord &r = record();
    if (control->band == EqLowCutBand) {
        r.eqLowCutFrequency = code;
    } else {
        MicEqBand &band = r.eqBands[control->band - 1];
        switch (control->field) {
        case EqField::Gain:
            band.gain = code;
            break;
        case EqField::Frequency:
            band.frequency = code;
            break;
        case EqField::Q:
            band.q = code;
            break;
        case EqField::LowCutFrequency:
            break;
        }
    }
    view_.showBand(control->band, controlId);
    sendBand(control->band);
    if (control->band == EqLowCutBand && isOnline()) {
        if (released)
            link_.pause(FramePauseMs);
        sendLowCutFollowUp(link_, store_, deviceIndex_);
    }
    view_.showPlot();
    announce(equaliserBandFields(control->band));
}

void MicEqualiser::pointMoved(int handle, double frequency, double gain, bool dragging)
{
    if (handle < 0 || handle > LowCutHandle)
        return;
    // A press or release sends its own band below; another band still waiting goes first.
    if (!dragging && pending_ && pendingHandle_ != handle)
        sendPendingNow();
    if (!dragging)
        pending_ = false;
    DeviceRecord &r = record();
    if (handle == LowCutHandle) {
        r.eqLowCutFrequency = static_cast<int>(frequency);
    } else {
        r.eqBands[handle].frequency = static_cast<int>(frequency);
        r.eqBands[handle].gain = static_cast<int>(gain * 10 + ZeroDbGain);
    }
    view_.showBand(handle + 1, 0);
    if (isOnline()) {
        r.eqSendTime = clock_.localTime();
        if (dragging)
            deferSend(handle);
        else
            sendEqualiserChange(link_, store_, deviceIndex_, handle + 1);
    }
    view_.showPlotBands();
    announce(equaliserBandFields(handle + 1));
}

void MicEqualiser::deferSend(int handle)
{
    pending_ = true;
    pendingHandle_ = handle;
    lastChangeMs_ = clock_.monotonicMs();
}

void MicEqualiser::pointReset(int handle, double frequency)
{
    if (handle == LowCutHandle) {
        view_.showPlot();
        return;
    }
    if (handle < 0 || handle >= MicEqBandCount)
        return;
    MicEqBand &band = record().eqBands[handle];
    band.frequency = static_cast<int>(frequency);
    band.gain = ZeroDbGain;
    view_.showBand(handle + 1, 0);
    view_.showPlot();
    sendBand(handle + 1);
    view_.showPlotBands();
    announce(equaliserBandFields(handle + 1));
}

void MicEqualiser::qWheeled(int handle, int notches)
{
    if (handle < 0 || handle >= MicEqBandCount || notches == 0)
        return;
    MicEqBand &band = record().eqBands[handle];
    const int q = std::clamp(band.q + notches, MinQCode, MaxQCode);
    if (q == band.q)
        return;
    band.q = q;
    view_.showBand(handle + 1, 0);
    view_.showPlotBands();
    if (isOnline()) {
        record().eqSendTime = clock_.localTime();
        deferSend(handle);
    }
    announce(equaliserBandFields(handle + 1));
}

void MicEqualiser::lowCutSwitched()
{
    DeviceRecord &r = record();
    r.eqLowCutOn = r.eqLowCutOn ? 0 : 1;
    r.lowCut = r.eqLowCutOn;
    view_.showBand(EqLowCutBand, 0);
    view_.showPlot();
    sendLowCutSwitched(link_, store_, deviceIndex_);
    announce(UnitField::EqLowCut | UnitField::LowCut);
}

void MicEqualiser::reset()
{
    DeviceRecord &r = record();
    for (int b = 0; b < MicEqBandCount; ++b) {
        r.eqBands[b].q = ResetQ;
        r.eqBands[b].gain = ZeroDbGain;
        r.eqBands[b].shape = EqShapePeaking;
        r.eqBands[b].frequency = ResetFrequencies[b];
    }
    r.eqLowCutOn = 0;
    r.eqLowCutFrequency = ResetLowCutFrequency;
    r.eqLowCutShape = ResetLowCutShape;
    r.eqLowCutQ = ResetLowCutQ;
    r.lowCut = r.eqLowCutOn;
    for (int band = 1; band <= EqLowCutBand; ++band)
        view_.showBand(band, 0);
    view_.showPlot();
    pending_ = false; // every band goes out below, the deferred one included
    if (isOnline()) {
        for (int band = 1; band <= EqLowCutBand; ++band) {
            sendBand(band);
            link_.pause(FramePauseMs);
        }
        SendUnitSettings(link_, store_, deviceIndex_);
        link_.pause(FramePauseMs);
    }
    announce(EqualiserFields | UnitField::LowCut);
}

void MicEqualiser::sendPendingNow()
{
    if (!pending_)
        return;
    pending_ = false;
    sendEqualiserChange(link_, store_, deviceIndex_, pendingHandle_ + 1);
}

void MicEqualiser::tick()
{
    if (isOnline() && pending_ && clock_.monotonicMs() - lastChangeMs_ > RestBeforeSendMs)
        sendPendingNow();
    if (reloadPending_) {
        reloadPending_ = false;
        for (int band = 1; band <= EqLowCutBand; ++band)
            view_.showBand(band, 0);
        view_.showPlot();
    }
}

} // namespace arx
