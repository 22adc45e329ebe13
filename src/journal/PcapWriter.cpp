#include "journal/PcapWriter.h"

#include "journal/CapturePacket.h"

#include <pcap/pcap.h>

#include <cerrno>
#include <cstring>

namespace arx {

namespace {

// Packets start with their IPv4 header: no link layer is made up.
constexpr int LinkType = DLT_RAW;
constexpr int SnapshotLength = 65535;

} // namespace

PcapWriter::PcapWriter(const std::string &path)
    : pcap_(pcap_open_dead(LinkType, SnapshotLength))
{
    if (!pcap_) {
        error_ = "libpcap cannot write this link type";
        return;
    }
    errno = 0;
    dumper_ = pcap_dump_open(pcap_, path.c_str());
    // The system's reason, as for the journal file; libpcap's own text when there is none.
    if (!dumper_)
        error_ = errno != 0 ? std::strerror(errno) : pcap_geterr(pcap_);
}

PcapWriter::~PcapWriter()
{
    if (dumper_)
        pcap_dump_close(dumper_);
    if (pcap_)
        pcap_close(pcap_);
}

void PcapWriter::write(const JournalEntry &entry)
{
    if (!dumper_ || entry.direction == JournalDirection::Event
        || (entry.isOutgoing() && entry.direction == JournalDirection::Dropped))
        return;
    const CapturePacket packet = capturePacket(entry, identification_++);
    pcap_pkthdr header {};
    header.ts.tv_sec = static_cast<time_t>(entry.wallMs / 1000);
    header.ts.tv_usec = static_cast<suseconds_t>(entry.wallMs % 1000 * 1000);
    header.caplen = static_cast<bpf_u_int32>(packet.capturedLength);
    header.len = static_cast<bpf_u_int32>(packet.wireLength);
    pcap_dump(reinterpret_cast<u_char *>(dumper_), &header, packet.bytes.data());
}

bool PcapWriter::flush()
{
    if (!dumper_)
        return false;
    if (pcap_dump_flush(dumper_) != 0 || std::ferror(pcap_dump_file(dumper_)) != 0) {
        error_ = std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    return true;
}

std::optional<std::string> writeCapture(
    const std::string &path, const std::vector<JournalEntry> &entries)
{
    PcapWriter writer(path);
    for (const JournalEntry &entry : entries)
        writer.write(entry);
    if (!writer.flush())
        return writer.error();
    return std::nullopt;
}

} // namespace arx
