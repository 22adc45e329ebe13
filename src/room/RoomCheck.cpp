#include "room/RoomCheck.h"

#include "protocol/Frames.h"
#include "room/UnitComparison.h"

#include <algorithm>

namespace arx {

namespace {

bool isSlot(int slot)
{
    return slot >= 0 && slot < UnitSlotCount;
}

bool isSettingsReport(std::uint8_t letter)
{
    return letter == 'E' || letter == 'J';
}

// What a settings report carries: 'E' all six settings, 'J' all but 48 V.
UnitFields reportedFields(std::uint8_t letter)
{
    return letter == 'E' ? SettingsFields
                         : UnitField::Gain | UnitField::LowCut | UnitField::Mute | UnitField::Locate
            | UnitField::Mode;
}

} // namespace

RoomCheck::RoomCheck(Store &store, Link &link, const Clock &clock, Discovery &discovery,
    UnitController &units, RoomObservers &observers, std::int64_t intervalMs)
    : store_(store)
    , link_(link)
    , clock_(clock)
    , discovery_(discovery)
    , controller_(units)
    , observers_(observers)
    , intervalMs_(intervalMs)
{
    observers_.add(*this);
}

RoomCheck::~RoomCheck()
{
    observers_.remove(*this);
}

const UnitCheck &RoomCheck::unit(int slot) const
{
    return units_.at(static_cast<std::size_t>(slot)).check;
}

RoomCheck::Outcome RoomCheck::run()
{
    if (!store_.scanActive)
        return Outcome::SearchOff;
    const std::int64_t now = clock_.monotonicMs();
    nextDueMs_ = now + intervalMs_;
    if (running_ || (framesLeft_ && !framesLeft_->done())) {
        publish(RoomCheckEvent::Skipped);
        return Outcome::Skipped;
    }
    if (!discovery_.repeatSearchRequest())
        return Outcome::NotSent;
    requestsLeft_ = framesLeft_ = link_.fence(now);
    running_ = true;
    ++checks_;
    startedMs_ = now;
    publish(RoomCheckEvent::Started);
    return Outcome::Started;
}

void RoomCheck::tick()
{
    if (!store_.scanActive)
        return;
    const std::int64_t now = clock_.monotonicMs();
    if (running_) {
        const auto left = requestsLeft_->leftAtMs();
        if (left && now >= *left + AnswerWindowMs)
            finish();
        return;
    }
    if (intervalMs_ > 0 && now >= nextDueMs_)
        run();
}

void RoomCheck::finish()
{
    running_ = false;
    sharedNames_.clear();
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        const DeviceRecord &record = store_.unitTable[static_cast<std::size_t>(slot)];
        Tracked &unit = tracked(slot);
        if (!record.inUse)
            continue;
        if (unit.round == checks_ && unit.addresses.size() > 1)
            sharedNames_.push_back({ std::string(textOf(record.name)), unit.addresses });
        if (unit.heardMs >= startedMs_ || unit.check.state == UnitCheckState::NotResponding)
            continue;
        unit.check.lastHeard = unit.heardAt;
        unit.identity.clear();
        unit.settings.clear();
        unit.check.differences.clear();
        setState(unit, UnitCheckState::NotResponding);
    }
    announceChangedUnits();
    publish(RoomCheckEvent::Finished);
}

void RoomCheck::compare(const KnownAnnouncement &known)
{
    if (!isSlot(known.slot) || !store_.unitTable[static_cast<std::size_t>(known.slot)].inUse)
        return;
    const DeviceRecord &record = store_.unitTable[static_cast<std::size_t>(known.slot)];
    Tracked &unit = tracked(known.slot);
    if (!running_ && !unit.compareNext && unit.check.state != UnitCheckState::NotResponding)
        return;
    unit.compareNext = false;
    // A change of identity stays noted for the rest of its check: the parser takes the new
    // identity at once, so the unit's second answer finds none.
    const int round = running_ ? checks_ : -1;
    if (unit.round != round || round < 0) {
        unit.round = round;
        unit.identity.clear();
        unit.addresses.clear();
    }
    for (UnitDifference &found : identityDifferences(record, known.announced)) {
        const auto same = std::find_if(unit.identity.begin(), unit.identity.end(),
            [&](const UnitDifference &kept) { return kept.field == found.field; });
        if (same == unit.identity.end())
            unit.identity.push_back(std::move(found));
        else
            same->unit = std::move(found.unit);
    }
    const std::string address(textOf(known.announced.ip));
    if (std::find(unit.addresses.begin(), unit.addresses.end(), address) == unit.addresses.end())
        unit.addresses.push_back(address);
    unit.settings = settingDifferences(record, known.announced, known.carried);
    unit.announced = known.announced;
    settleDifferences(unit);
}

void RoomCheck::received(const Datagram &datagram, DropReason dropped)
{
    if (dropped != DropReason::None || datagram.length < 2 || datagram.bytes[0] != UnitFrameStart)
        return;
    const std::uint8_t letter = datagram.bytes[1];
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        if (slotMatchesSender(store_.unitTable[static_cast<std::size_t>(slot)], datagram.sender))
            heard(slot, letter);
    }
    // The attach answers count among the check's frames: the next check waits for them.
    if (running_ && (letter == 'D' || letter == 'H'))
        framesLeft_ = link_.fence(clock_.monotonicMs());
    if (announceChangedUnits())
        publish(RoomCheckEvent::Updated);
}

void RoomCheck::heard(int slot, std::uint8_t letter)
{
    Tracked &unit = tracked(slot);
    unit.heardMs = clock_.monotonicMs();
    // Announcements and level reports have just stamped the record with the time.
    unit.heardAt = isSettingsReport(letter)
        ? clock_.localTime()
        : store_.unitTable[static_cast<std::size_t>(slot)].lastHeard;
    if (unit.check.state == UnitCheckState::NotResponding) {
        unit.compareNext = true;
        setState(unit, UnitCheckState::Answering);
    }
    if (isSettingsReport(letter) && unit.check.state == UnitCheckState::Differs) {
        // The record took the reported values: in those it agrees with the unit now.
        const UnitFields reported = reportedFields(letter);
        std::erase_if(unit.settings,
            [&](const UnitDifference &difference) { return reported.contains(difference.group); });
        settleDifferences(unit);
    }
}

void RoomCheck::takeUnitSettings(int slot)
{
    if (!isSlot(slot) || tracked(slot).check.state != UnitCheckState::Differs)
        return;
    Tracked &unit = tracked(slot);
    UnitFields fields;
    for (const UnitDifference &difference : unit.settings)
        fields = fields | difference.group;
    unit.identity.clear();
    unit.settings.clear();
    if (!fields.empty())
        controller_.takeFields(slot, unit.announced, fields);
    settleDifferences(unit);
    if (announceChangedUnits())
        publish(RoomCheckEvent::Updated);
}

void RoomCheck::sendSettingsAgain(int slot)
{
    if (!isSlot(slot) || tracked(slot).check.state != UnitCheckState::Differs)
        return;
    Tracked &unit = tracked(slot);
    controller_.sendAll(slot);
    unit.identity.clear();
    unit.settings.clear();
    settleDifferences(unit);
    if (announceChangedUnits())
        publish(RoomCheckEvent::Updated);
}

void RoomCheck::setState(Tracked &unit, UnitCheckState state)
{
    if (unit.check.state == state)
        return;
    unit.check.state = state;
    unit.changed = true;
}

void RoomCheck::settleDifferences(Tracked &unit)
{
    std::vector<UnitDifference> differences = unit.identity;
    differences.insert(differences.end(), unit.settings.begin(), unit.settings.end());
    setState(unit, differences.empty() ? UnitCheckState::Same : UnitCheckState::Differs);
    if (differences != unit.check.differences) {
        unit.check.differences = std::move(differences);
        unit.changed = true;
    }
}

bool RoomCheck::announceChangedUnits()
{
    bool any = false;
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        Tracked &unit = tracked(slot);
        if (!unit.changed)
            continue;
        unit.changed = false;
        any = true;
        observers_.unitCheckChanged(slot, unit.check);
    }
    return any;
}

void RoomCheck::publish(RoomCheckEvent event)
{
    RoomCheckSummary now = currentSummary();
    if (event == RoomCheckEvent::Updated && now == summary_)
        return;
    summary_ = std::move(now);
    observers_.roomCheckChanged(event, summary_);
}

RoomCheckSummary RoomCheck::currentSummary() const
{
    RoomCheckSummary summary;
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        if (!store_.unitTable[static_cast<std::size_t>(slot)].inUse)
            continue;
        ++summary.units;
        const UnitCheckState state = units_[static_cast<std::size_t>(slot)].check.state;
        if (state == UnitCheckState::NotResponding)
            summary.notResponding.push_back(slot);
        else if (state == UnitCheckState::Differs)
            summary.differing.push_back(slot);
    }
    summary.sharedNames = sharedNames_;
    summary.running = running_;
    summary.checks = checks_;
    return summary;
}

void RoomCheck::searchChanged(bool)
{
    // Also heard when a connection attempt gives up, which leaves the search as it is.
    if (store_.scanActive == searchOn_)
        return;
    searchOn_ = store_.scanActive;
    nextDueMs_ = clock_.monotonicMs() + intervalMs_;
    if (!searchOn_) {
        running_ = false;
        sharedNames_.clear();
        for (Tracked &unit : units_)
            unit = Tracked {};
    }
    publish(RoomCheckEvent::Updated);
}

void RoomCheck::unitListChanged()
{
    publish(RoomCheckEvent::Updated);
}

void RoomCheck::unitFreed(int slot)
{
    if (isSlot(slot))
        tracked(slot) = Tracked {};
}

} // namespace arx
