#pragma once

#include "mic/UnitController.h"
#include "model/RoomObserver.h"
#include "model/Store.h"
#include "model/UnitCheck.h"
#include "protocol/Datagram.h"
#include "protocol/Discovery.h"
#include "protocol/DropReason.h"
#include "seams/Clock.h"
#include "seams/Link.h"

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace arx {

// Which units answer, and whether each holds what ARX shows. A check sends the search
// request again (twice, 100 ms apart, without clearing anything) while the search is on.
// Every known unit that announces itself during the check is compared with its record before
// the parser rewrites its name, address and type. A registered unit from which nothing at all
// has come within AnswerWindowMs after the second request left the wire (as the link reports
// it, however long the queue before it) is not responding until anything comes from it again.
// A check runs when asked and every `intervalMs` on its own; one is skipped while frames of
// the previous one still wait to be sent. Runs on the user-interface thread; everything it
// finds is announced to the room's observers.
class RoomCheck final : private RoomObserver {
public:
    static constexpr std::int64_t AnswerWindowMs = 2000;
    static constexpr int DefaultIntervalSeconds = 30;
    // A shorter period would start checks faster than a room of 64 units can answer one.
    static constexpr int ShortestIntervalSeconds = 3;

    // `intervalMs` 0 checks only when asked. Listens to `observers` for the search and the
    // units' registration, and announces to them.
    RoomCheck(Store &store, Link &link, const Clock &clock, Discovery &discovery,
        UnitController &units, RoomObservers &observers, std::int64_t intervalMs);
    ~RoomCheck() override;
    RoomCheck(const RoomCheck &) = delete;
    RoomCheck &operator=(const RoomCheck &) = delete;

    enum class Outcome {
        Started,
        Skipped, // a check still runs, or its frames still wait
        SearchOff,
        NotSent, // no address for the units to answer to, or the link refused the requests
    };
    Outcome run();
    // Every Room::TickMs: closes a check's answer window, and starts the automatic check.
    void tick();

    // Every known unit's announcement, from the reply parser.
    void compare(const KnownAnnouncement &known);
    // Every datagram, once it has been handled (or dropped for `dropped`).
    void received(const Datagram &datagram, DropReason dropped);

    // The two answers to a unit that differs. Taking stores what the unit announced and sends
    // nothing; sending again puts the unit's whole setting on the wire in its COPY sequence.
    // Either clears the mark. Nothing happens for a unit that does not differ.
    void takeUnitSettings(int slot);
    void sendSettingsAgain(int slot);

    const UnitCheck &unit(int slot) const;
    const RoomCheckSummary &summary() const { return summary_; }
    std::int64_t intervalMs() const { return intervalMs_; }

private:
    // RoomObserver: the search and the units' registration.
    void searchChanged(bool pressed) override;
    void unitListChanged() override;
    void unitFreed(int slot) override;

    struct Tracked {
        UnitCheck check;
        std::int64_t heardMs = std::numeric_limits<std::int64_t>::min();
        LocalTime heardAt;
        bool compareNext = false; // back from silence: its next announcement is compared
        int round = 0; // the check whose announcements `identity` and `addresses` hold
        std::vector<UnitDifference> identity; // found in that check
        std::vector<UnitDifference> settings; // found by the latest comparison
        std::vector<std::string> addresses; // announced from in that check
        DeviceRecord announced; // the latest announcement compared
        bool changed = false; // to be announced
    };

    Tracked &tracked(int slot) { return units_.at(static_cast<std::size_t>(slot)); }
    void heard(int slot, std::uint8_t letter);
    void finish();
    void setState(Tracked &unit, UnitCheckState state);
    void settleDifferences(Tracked &unit);
    // Tells the observers of every unit whose check changed; true when there was one.
    bool announceChangedUnits();
    void publish(RoomCheckEvent event);
    RoomCheckSummary currentSummary() const;

    Store &store_;
    Link &link_;
    const Clock &clock_;
    Discovery &discovery_;
    UnitController &controller_;
    RoomObservers &observers_;
    const std::int64_t intervalMs_;
    std::array<Tracked, UnitSlotCount> units_ {};
    RoomCheckSummary summary_;
    std::vector<SharedName> sharedNames_; // found by the last finished check
    bool searchOn_ = false;
    bool running_ = false;
    int checks_ = 0;
    std::int64_t startedMs_ = 0;
    std::int64_t nextDueMs_ = 0;
    std::shared_ptr<const SendFence> requestsLeft_; // behind the check's second request
    std::shared_ptr<const SendFence> framesLeft_; // behind the check's frames so far
};

} // namespace arx
