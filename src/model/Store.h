#pragma once

#include "model/DeviceRecord.h"
#include "model/NetworkDevice.h"
#include "model/SpeakerStore.h"

#include <array>
#include <string>
#include <string_view>

namespace arx {

constexpr const char *DefaultProcessorAddress = "192.168.0.106";

// All device state of one run. The application makes one; every test makes its own.
// Only the user-interface thread writes it.
struct Store {
    std::array<DeviceRecord, UnitSlotCount> unitTable{};
    SpeakerStore speaker{};
    std::array<NetworkDevice, NetworkDeviceCount> networkDevices{};
    bool scanActive = false;
    std::string rdaAddress = DefaultProcessorAddress;
    double eulerConstant = 0.0;
};

// e as 1 + the sum of 1/k! for k = 1..999, factorials in double precision, as the
// dynamics design has always used it.
double computeEulerConstant();

// Start values of the equalisers and the processor channels; everything else keeps zero.
void SetDefaults(Store &store);

// The slot numbers below are 0-based; -1 means none.

// True when the slot is occupied and holds exactly this sender address.
bool slotMatchesSender(const DeviceRecord &record, std::string_view senderAddress);

// The first slot whose ip equals the sender or whose name equals the announced name, both
// compared on each slot before the next; occupancy is not looked at.
int findSlotForAnnouncement(const Store &store, std::string_view senderAddress,
                            std::string_view name);

// The lowest slot that is not occupied.
int findFreeSlot(const Store &store);

// Copies text into a fixed-width field: cut to width - 1 bytes, rest of the field zeroed.
template <std::size_t Width>
void setText(char (&field)[Width], std::string_view text)
{
    const std::size_t length = text.size() < Width - 1 ? text.size() : Width - 1;
    for (std::size_t i = 0; i < Width; ++i)
        field[i] = i < length ? text[i] : '\0';
}

// The text of a fixed-width field up to its first NUL (never past the field).
template <std::size_t Width>
std::string_view textOf(const char (&field)[Width])
{
    std::size_t length = 0;
    while (length < Width && field[length] != '\0')
        ++length;
    return {field, length};
}

} // namespace arx
