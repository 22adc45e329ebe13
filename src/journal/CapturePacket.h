#pragma once

#include "journal/Journal.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace arx {

constexpr std::size_t Ipv4HeaderLength = 20;
constexpr std::size_t UdpHeaderLength = 8;

// A journal entry's datagram as the IPv4/UDP packet that carried it, for a capture file: from
// this end to the far end or back, with valid checksums. Only the datagram's kept bytes are
// captured; the headers give its length on the wire, so an over-long one shows as cut short.
struct CapturePacket {
    std::array<std::uint8_t, Ipv4HeaderLength + UdpHeaderLength + DatagramCapacity> bytes {};
    std::size_t capturedLength = 0;
    std::size_t wireLength = 0;

    std::span<const std::uint8_t> captured() const { return { bytes.data(), capturedLength }; }
};

// `identification` is the IPv4 header's packet number. An end the entry does not know (no
// local address recorded) is 0.0.0.0.
CapturePacket capturePacket(const JournalEntry &entry, std::uint16_t identification);

} // namespace arx
