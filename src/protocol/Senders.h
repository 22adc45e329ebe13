#pragma once

#include "model/Store.h"
#include "protocol/Frames.h"
#include "seams/Link.h"

#include <cstdint>
#include <string>

namespace arx {

// The senders of the command frames. Fire and forget: nothing is reported or retried.
// Every '%' sender pauses 10 ms after its datagram, which paces bursts such as a
// registration followed by a list refresh; processor senders return at once. They do not
// check that the unit is registered or the processor connected: that is the caller's part.

constexpr int UnitFramePauseMs = 10;

// To the unit in `slot` (0..63), at its own address, port 39030.
void SendUnitSettings(Link &link, const Store &store, int slot); // 'A'
void SendUnitSettings5(Link &link, const Store &store, int slot); // 'H'
void SendColours(Link &link, const Store &store, int slot); // 'M'
// 'O' and 'P' first make the unit's code "73920468"; it stays so even when the send fails.
void SendColoursDefaultCode(Link &link, Store &store, int slot); // 'O'
void SendColoursWide(Link &link, Store &store, int slot); // 'P'

// How an attach frame goes: `Always`, or `UnlessWaiting` for the answers to announcements,
// which a repeating unit or host must not be able to pile up in the link's queue.
enum class AttachDelivery { Always, UnlessWaiting };

void SendAttach(Link &link, const std::string &unitAddress, std::uint8_t value,
    AttachDelivery delivery = AttachDelivery::Always); // 'F'
void SendAttach5(Link &link, const std::string &unitAddress, std::uint8_t value,
    AttachDelivery delivery = AttachDelivery::Always); // 'K'

// 'C' to the search group, port 9000, asking units to answer to `ownAddress` port 39030.
// Nothing is sent when `ownAddress` is not a dotted IPv4 address. True when the link took it.
bool SendSearchRequest(Link &link, const std::string &ownAddress);

// To the processor at `rdaAddress`, port 39060.
void SendDeviceName(Link &link, const Store &store); // 06, the first 10 bytes of the name
// 07, asking the processor to answer to `ownAddress`; nothing is sent when that is not a
// dotted IPv4 address.
void SendConnectRequest(Link &link, const Store &store, const std::string &ownAddress);
void SendDeviceReset(Link &link, const Store &store); // 08
// 04 with the stored main or channel level; 0A with the stored phase of a channel.
void SendLevel(Link &link, const Store &store, LevelTarget target);
void SendPhase(Link &link, const Store &store, PhaseTarget target);

} // namespace arx
