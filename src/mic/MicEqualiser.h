#pragma once

#include "mic/EqualiserControls.h"
#include "model/RoomObserver.h"
#include "model/Store.h"
#include "seams/Clock.h"
#include "seams/Link.h"

#include <cstdint>

namespace arx {

// What the equaliser's window shows; the controller tells it what changed in the record.
class MicEqualiserView {
public:
    virtual ~MicEqualiserView() = default;
    // The knob, slider (and for the low cut, the switch) of `band` (1..4, EqLowCutBand) from
    // the record; the control `exceptId` is left as the operator has it.
    virtual void showBand(int band, int exceptId) = 0;
    // The plot's bands from the record, handles left where they are (during a drag).
    virtual void showPlotBands() = 0;
    // The plot's handles and bands from the record.
    virtual void showPlot() = 0;
};

// The equaliser's send rules, shared by the dialog and by whoever changes a unit's equaliser
// without it (a command). Each sends only while the unit in `slot` is online.
// Band 1..4 or the low cut (EqLowCutBand) took new values: its frame; after the low cut's,
// while the low cut is off, the settings frame and 20 ms.
void sendEqualiserChange(Link &link, const Store &store, int slot, int band);
// The low cut was switched: its frame, 20 ms, the settings frame, 20 ms.
void sendLowCutSwitched(Link &link, const Store &store, int slot);
// The field observers hear for band 1..4 or the low cut.
UnitFields equaliserBandFields(int band);

// The equaliser of one microphone unit, without a window: every edit writes the record and,
// when the unit is online, sends the band (and for the low cut the settings frame) in the
// documented order through the Link. A dragged point is sent once it has rested for more
// than 200 ms, measured on the monotonic clock, and again on release. A deferred send is
// never dropped: whatever ends it early (a press on another point, the dialog closing) sends
// the band at once, so the unit always ends up with what the record holds.
class MicEqualiser {
public:
    static constexpr std::int64_t RestBeforeSendMs = 200;
    static constexpr int FramePauseMs = 20;
    static constexpr int LowCutHandle = 4;

    // Every change to the record is announced to `announce` when there is one.
    MicEqualiser(Store &store, Link &link, const Clock &clock, int deviceIndex,
        MicEqualiserView &view, RoomObserver *announce = nullptr);

    // A knob turned or a slider moved (`released`: a slider's release or key step).
    void controlChanged(int controlId, int value, bool released);
    // The plot moved handle 0..4 to (frequency, gain); `dragging` is false for the press
    // and the release.
    void pointMoved(int handle, double frequency, double gain, bool dragging);
    // A double click on handle 0..3 puts the band at 0 dB; on the low cut it only redraws.
    // Other numbers (a slider's double click) do nothing.
    void pointReset(int handle, double frequency);
    // Wheel notches over handle 0..3: Q steps of one code, sent once the wheel rests.
    void qWheeled(int handle, int notches);
    void lowCutSwitched();
    void reset();

    // The 100 ms tick: the deferred send, then a reload requested by a resize.
    void tick();
    // Sends a deferred band now instead of waiting for the rest; nothing when none waits.
    void sendPendingNow();
    void requestReload() { reloadPending_ = true; }
    // True while this equaliser announces one of its own changes.
    bool announcing() const { return announcing_; }

    bool isOnline() const { return record().inUse != 0; }
    bool sendPending() const { return pending_; }
    const DeviceRecord &record() const { return store_.unitTable[deviceIndex_]; }
    int deviceIndex() const { return deviceIndex_; }

private:
    DeviceRecord &record() { return store_.unitTable[deviceIndex_]; }
    void sendBand(int band);
    void deferSend(int handle);
    void announce(UnitFields fields);

    Store &store_;
    Link &link_;
    const Clock &clock_;
    int deviceIndex_;
    MicEqualiserView &view_;
    RoomObserver *announce_;

    bool pending_ = false;
    int pendingHandle_ = 0;
    std::int64_t lastChangeMs_ = 0;
    bool reloadPending_ = false;
    bool announcing_ = false;
};

} // namespace arx
