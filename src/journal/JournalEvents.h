#pragma once

#include "journal/Journal.h"
#include "model/RoomObserver.h"
#include "model/Store.h"
#include "seams/Clock.h"

namespace arx {

// Writes what the room check finds into the journal, as entries of their own kind beside the
// datagrams: each check's start, skip and end, each change of a unit's state, and each field
// in which a unit differs; and each action on every unit, as one entry. One observer of the
// room.
class JournalEvents final : public RoomObserver {
public:
    JournalEvents(Journal &journal, const Store &store, const Clock &clock);

    void unitCheckChanged(int slot, const UnitCheck &check) override;
    void roomCheckChanged(RoomCheckEvent event, const RoomCheckSummary &summary) override;
    void roomActionTaken(const RoomActionOutcome &outcome) override;

private:
    JournalEntry entry(JournalEventKind kind) const;

    Journal &journal_;
    const Store &store_;
    const Clock &clock_;
};

} // namespace arx
