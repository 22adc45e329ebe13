#include "journal/CapturePacket.h"

#include "protocol/Address.h"

#include <algorithm>
#include <cstring>

namespace arx {

namespace {

constexpr std::uint8_t UdpProtocol = 17;
constexpr std::uint8_t TimeToLive = 64;

// RFC 1071: the ones' complement sum of 16-bit words, an odd last byte padded with zero.
std::uint32_t internetSum(std::span<const std::uint8_t> bytes, std::uint32_t sum = 0)
{
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        sum += static_cast<std::uint32_t>(bytes[i] << 8 | bytes[i + 1]);
    if (bytes.size() % 2 != 0)
        sum += static_cast<std::uint32_t>(bytes.back() << 8);
    return sum;
}

std::uint16_t internetChecksum(std::uint32_t sum)
{
    while (sum > 0xFFFF)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

void putWord(std::uint8_t *at, std::size_t value)
{
    at[0] = static_cast<std::uint8_t>(value >> 8);
    at[1] = static_cast<std::uint8_t>(value);
}

Ipv4Bytes addressBytes(const char *text)
{
    return ipv4Bytes(text).value_or(Ipv4Bytes {});
}

} // namespace

CapturePacket capturePacket(const JournalEntry &entry, std::uint16_t identification)
{
    const bool out = entry.isOutgoing();
    const Ipv4Bytes local = addressBytes(entry.localAddress);
    const Ipv4Bytes far = addressBytes(entry.address);
    const Ipv4Bytes &source = out ? local : far;
    const Ipv4Bytes &destination = out ? far : local;
    const std::uint16_t sourcePort = out ? entry.localPort : entry.port;
    const std::uint16_t destinationPort = out ? entry.port : entry.localPort;
    const std::size_t udpLength = UdpHeaderLength + entry.wireLength;

    CapturePacket packet;
    packet.wireLength = Ipv4HeaderLength + udpLength;
    packet.capturedLength = Ipv4HeaderLength + UdpHeaderLength + entry.length;
    std::uint8_t *ip = packet.bytes.data();
    ip[0] = 0x45; // version 4, a header of five words
    putWord(ip + 2, std::min<std::size_t>(packet.wireLength, 0xFFFF));
    putWord(ip + 4, identification);
    ip[8] = TimeToLive;
    ip[9] = UdpProtocol;
    std::memcpy(ip + 12, source.data(), 4);
    std::memcpy(ip + 16, destination.data(), 4);
    putWord(ip + 10, internetChecksum(internetSum({ ip, Ipv4HeaderLength })));

    std::uint8_t *udp = ip + Ipv4HeaderLength;
    putWord(udp, sourcePort);
    putWord(udp + 2, destinationPort);
    putWord(udp + 4, std::min<std::size_t>(udpLength, 0xFFFF));
    std::memcpy(udp + UdpHeaderLength, entry.bytes.data(), entry.length);
    // The checksum covers every byte: a datagram cut short goes without one (0 means none).
    if (entry.length == entry.wireLength) {
        std::uint8_t pseudoHeader[12] = {};
        std::memcpy(pseudoHeader, source.data(), 4);
        std::memcpy(pseudoHeader + 4, destination.data(), 4);
        pseudoHeader[9] = UdpProtocol;
        putWord(pseudoHeader + 10, udpLength);
        const std::uint16_t checksum = internetChecksum(
            internetSum({ udp, UdpHeaderLength + entry.length }, internetSum(pseudoHeader)));
        putWord(udp + 6, checksum == 0 ? 0xFFFF : checksum);
    }
    return packet;
}

} // namespace arx
