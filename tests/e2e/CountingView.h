#pragma once

#include "model/DeviceRecord.h"
#include "model/RoomObserver.h"

#include <array>

namespace arx::e2e {

// The main window as the discovery sees it, reduced to counts and flags that tests wait on.
class CountingView final : public RoomObserver {
public:
    using PerSlot = std::array<int, UnitSlotCount>;

    void searchChanged(bool pressed) override { searchPressed = pressed; }
    void unitShown(int slot) override { ++stripShows.at(slot); }
    void unitChanged(int slot, UnitFields) override { ++stripRefreshes.at(slot); }
    void unitLevel(int slot) override { ++meterUpdates.at(slot); }
    void unitFreed(int slot) override { ++stripHides.at(slot); }
    void connectionStarted() override
    {
        speakerPageSelected = true;
        connectionTimerRunning = true;
    }
    void connectionChanged() override { connectionTimerRunning = false; }

    bool searchPressed = false;
    bool speakerPageSelected = false;
    bool connectionTimerRunning = false;
    PerSlot stripShows {};
    PerSlot stripRefreshes {};
    PerSlot meterUpdates {};
    PerSlot stripHides {};
};

} // namespace arx::e2e
