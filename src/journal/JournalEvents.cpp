#include "journal/JournalEvents.h"

#include "journal/JournalRecording.h"
#include "room/RoomActions.h"
#include "room/RoomStatusText.h"

namespace arx {

JournalEvents::JournalEvents(Journal &journal, const Store &store, const Clock &clock)
    : journal_(journal)
    , store_(store)
    , clock_(clock)
{
}

JournalEntry JournalEvents::entry(JournalEventKind kind) const
{
    JournalEntry entry;
    entry.direction = JournalDirection::Event;
    entry.event = kind;
    entry.monotonicMs = clock_.monotonicMs();
    return entry;
}

void JournalEvents::unitCheckChanged(int slot, const UnitCheck &check)
{
    const DeviceRecord &record = store_.unitTable.at(static_cast<std::size_t>(slot));
    JournalEntry state = entry(JournalEventKind::UnitState);
    state.device = unitDevice(record);
    state.unitState = check.state;
    if (check.state == UnitCheckState::NotResponding)
        state.setEventTexts({ lastHeardText(check) });
    journal_.add(state);
    for (const UnitDifference &difference : check.differences) {
        JournalEntry field = entry(JournalEventKind::Difference);
        field.device = state.device;
        field.unitState = check.state;
        field.setEventTexts({ difference.field, difference.arx, difference.unit });
        journal_.add(field);
    }
}

void JournalEvents::roomCheckChanged(RoomCheckEvent event, const RoomCheckSummary &summary)
{
    switch (event) {
    case RoomCheckEvent::Started:
        journal_.add(entry(JournalEventKind::CheckStarted));
        return;
    case RoomCheckEvent::Skipped:
        journal_.add(entry(JournalEventKind::CheckSkipped));
        return;
    case RoomCheckEvent::Finished: {
        JournalEntry finished = entry(JournalEventKind::CheckFinished);
        finished.setEventTexts({ roomStatusText(summary, store_) });
        journal_.add(finished);
        return;
    }
    case RoomCheckEvent::Updated:
        return;
    }
}

void JournalEvents::roomActionTaken(const RoomActionOutcome &outcome)
{
    JournalEntry action = entry(JournalEventKind::RoomAction);
    action.setEventTexts({ roomActionText(outcome) });
    journal_.add(action);
}

} // namespace arx
