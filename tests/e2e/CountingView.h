#pragma once

#include "model/DeviceRecord.h"
#include "protocol/Discovery.h"

#include <array>

namespace arx::e2e {

// The main window as the discovery sees it, reduced to counts and flags that tests wait on.
class CountingView final : public DiscoveryView {
public:
    using PerSlot = std::array<int, UnitSlotCount>;

    void setSearchPressed(bool pressed) override { searchPressed = pressed; }
    void showStrip(int slot) override { ++stripShows.at(slot); }
    void refreshStrip(int slot) override { ++stripRefreshes.at(slot); }
    void updateMeter(int slot) override { ++meterUpdates.at(slot); }
    void hideStrip(int slot) override { ++stripHides.at(slot); }
    void selectSpeakerPage() override { speakerPageSelected = true; }
    // Tests read the lists themselves.
    void unitListChanged() override { }
    void processorListChanged() override { }
    void setConnectionTimerRunning(bool running) override { connectionTimerRunning = running; }

    bool searchPressed = false;
    bool speakerPageSelected = false;
    bool connectionTimerRunning = false;
    PerSlot stripShows {};
    PerSlot stripRefreshes {};
    PerSlot meterUpdates {};
    PerSlot stripHides {};
};

} // namespace arx::e2e
