#pragma once

#include "mic/UnitController.h"
#include "model/Store.h"
#include "room/RoomCheck.h"
#include "roomfile/RoomComparison.h"
#include "seams/Clock.h"
#include "seams/Link.h"
#include "seams/SendFence.h"
#include "speaker/PresetController.h"

#include <cstddef>
#include <functional>
#include <memory>

namespace arx {

// How an apply went.
struct RoomApplyReport {
    int unitsApplied = 0;
    int unitsSkipped = 0; // no longer registered as they were compared
    bool processorTaken = false; // into ARX's record
    bool processorSent = false; // and to the processor, which was connected
    bool cancelled = false;
    bool checkStarted = false;
    int applied() const { return unitsApplied + (processorTaken ? 1 : 0); }
};

// Sends a room file's differences one step at a time, for the window and the command
// interface alike. A unit's values are stored, and its frames queued (its COPY sequence,
// leaving out the frames whose fields all agree), only once the frames of the step before it
// have left, as the link's fence tells, so that the queue never holds a whole room. The
// processor comes last: its whole setting in the recall's order with both phases, since what
// it holds after a restart of ARX is unknown; offline it is only stored. A unit no longer
// registered as it was compared is skipped: nothing goes to a unit that is not registered.
// Cancelling stops before the next step; what was sent stays sent. A room check follows
// when a unit was sent to. Runs on the user-interface thread, driven by tick().
class RoomApply {
public:
    using Finished = std::function<void(const RoomApplyReport &)>;

    RoomApply(Store &store, Link &link, const Clock &clock, UnitController &units,
        PresetController &presets, RoomCheck &check);

    // Starts and takes the first step at once; false (and nothing done) while one runs.
    // `finished` hears how it went, also when it is cancelled.
    bool start(RoomApplyPlan plan, Finished finished = {});
    void cancel();
    // Every Room::TickMs: the next steps whose turn has come.
    void tick();

    bool running() const { return running_; }
    std::size_t stepsTaken() const { return next_; }
    std::size_t stepCount() const { return plan_.steps(); }

private:
    void takeStep(std::size_t step);
    void finish();

    Store &store_;
    Link &link_;
    const Clock &clock_;
    UnitController &units_;
    PresetController &presets_;
    RoomCheck &check_;
    RoomApplyPlan plan_;
    Finished finished_;
    RoomApplyReport report_;
    std::size_t next_ = 0;
    bool running_ = false;
    bool cancelled_ = false;
    std::shared_ptr<const SendFence> left_; // behind the frames of the last step
};

} // namespace arx
