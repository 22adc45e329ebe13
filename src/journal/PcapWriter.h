#pragma once

#include "journal/Journal.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using pcap_t = struct pcap;
using pcap_dumper_t = struct pcap_dumper;

namespace arx {

// A capture file that Wireshark and tcpdump read: each journal entry becomes a raw IPv4/UDP
// packet with the entry's time. Frames that never left (refused by the send queue or the
// socket) are left out, since a capture shows what was on the wire, and so are the room
// check's events, which are no datagrams; datagrams dropped on the way in did arrive, and
// are kept.
class PcapWriter {
public:
    // Creates `path`, or empties it.
    explicit PcapWriter(const std::string &path);
    ~PcapWriter();
    PcapWriter(const PcapWriter &) = delete;
    PcapWriter &operator=(const PcapWriter &) = delete;

    bool isOpen() const { return dumper_ != nullptr; }
    // Why the file could not be opened or written.
    const std::string &error() const { return error_; }

    void write(const JournalEntry &entry);
    // Hands what was written to the system; false when writing failed.
    bool flush();

private:
    pcap_t *pcap_ = nullptr;
    pcap_dumper_t *dumper_ = nullptr;
    std::string error_;
    std::uint16_t identification_ = 0;
};

// Every entry to `path` as a capture file; the reason when it could not be written.
std::optional<std::string> writeCapture(
    const std::string &path, const std::vector<JournalEntry> &entries);

} // namespace arx
