#include "model/RoomObserver.h"

#include <algorithm>

namespace arx {

void RoomObservers::add(RoomObserver &observer)
{
    observers_.push_back(&observer);
}

void RoomObservers::remove(RoomObserver &observer)
{
    for (RoomObserver *&entry : observers_) {
        if (entry == &observer)
            entry = nullptr;
    }
    if (depth_ == 0)
        std::erase(observers_, nullptr);
}

template <class Call> void RoomObservers::announce(Call call)
{
    ++depth_;
    // By index and count at the start: an observer added meanwhile waits for the next one.
    const std::size_t count = observers_.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (RoomObserver *observer = observers_[i])
            call(*observer);
    }
    if (--depth_ == 0)
        std::erase(observers_, nullptr);
}

void RoomObservers::searchChanged(bool pressed)
{
    announce([&](RoomObserver &o) { o.searchChanged(pressed); });
}

void RoomObservers::unitListChanged()
{
    announce([](RoomObserver &o) { o.unitListChanged(); });
}

void RoomObservers::unitShown(int slot)
{
    announce([&](RoomObserver &o) { o.unitShown(slot); });
}

void RoomObservers::unitFreed(int slot)
{
    announce([&](RoomObserver &o) { o.unitFreed(slot); });
}

void RoomObservers::unitChanged(int slot, UnitFields changed)
{
    announce([&](RoomObserver &o) { o.unitChanged(slot, changed); });
}

void RoomObservers::unitLevel(int slot)
{
    announce([&](RoomObserver &o) { o.unitLevel(slot); });
}

void RoomObservers::processorListChanged()
{
    announce([](RoomObserver &o) { o.processorListChanged(); });
}

void RoomObservers::connectionStarted()
{
    announce([](RoomObserver &o) { o.connectionStarted(); });
}

void RoomObservers::connectionChanged()
{
    announce([](RoomObserver &o) { o.connectionChanged(); });
}

void RoomObservers::speakerChanged(const SpeakerChange &change)
{
    announce([&](RoomObserver &o) { o.speakerChanged(change); });
}

void RoomObservers::unitCheckChanged(int slot, const UnitCheck &check)
{
    announce([&](RoomObserver &o) { o.unitCheckChanged(slot, check); });
}

void RoomObservers::roomCheckChanged(RoomCheckEvent event, const RoomCheckSummary &summary)
{
    announce([&](RoomObserver &o) { o.roomCheckChanged(event, summary); });
}

void RoomObservers::roomActionTaken(const RoomActionOutcome &outcome)
{
    announce([&](RoomObserver &o) { o.roomActionTaken(outcome); });
}

} // namespace arx
