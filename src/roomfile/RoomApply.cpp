#include "roomfile/RoomApply.h"

#include "roomfile/RoomFileFields.h"

namespace arx {

RoomApply::RoomApply(Store &store, Link &link, const Clock &clock, UnitController &units,
    PresetController &presets, RoomCheck &check)
    : store_(store)
    , link_(link)
    , clock_(clock)
    , units_(units)
    , presets_(presets)
    , check_(check)
{
}

bool RoomApply::start(RoomApplyPlan plan, Finished finished)
{
    if (running_)
        return false;
    plan_ = std::move(plan);
    finished_ = std::move(finished);
    report_ = {};
    next_ = 0;
    cancelled_ = false;
    left_.reset();
    running_ = true;
    tick();
    return true;
}

void RoomApply::cancel()
{
    if (running_)
        cancelled_ = true;
}

void RoomApply::tick()
{
    // A link that keeps nothing waiting lets every step go in one pass.
    while (running_) {
        if (left_ && !left_->done())
            return;
        if (cancelled_ || next_ >= plan_.steps()) {
            finish();
            return;
        }
        takeStep(next_++);
        left_ = link_.fence(clock_.monotonicMs());
    }
}

void RoomApply::takeStep(std::size_t step)
{
    if (step < plan_.units.size()) {
        const UnitApply &unit = plan_.units[step];
        const DeviceRecord &now = store_.unitTable.at(static_cast<std::size_t>(unit.slot));
        if (!now.inUse || textOf(now.name) != unit.nameBytes || now.type != unit.type) {
            ++report_.unitsSkipped;
            return;
        }
        units_.takeAndSendFields(unit.slot, unit.values, unit.fields);
        ++report_.unitsApplied;
        return;
    }
    // What the file holds over what ARX keeps beside it (the unused words, the further bytes).
    SpeakerStore setting = store_.speaker;
    takeProcessorSetting(*plan_.processor, setting);
    report_.processorSent = presets_.recallSetting(setting);
    report_.processorTaken = true;
}

void RoomApply::finish()
{
    running_ = false;
    report_.cancelled = cancelled_;
    if (report_.unitsApplied > 0)
        report_.checkStarted = check_.run() == RoomCheck::Outcome::Started;
    const Finished finished = std::move(finished_);
    finished_ = {};
    if (finished)
        finished(report_);
}

} // namespace arx
