#include "journal/JournalText.h"

#include "format/Gbk.h"
#include "journal/FrameMeaning.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace arx {

namespace {

std::string jsonEscaped(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

// RFC 4180: every field quoted, quotes doubled.
std::string csvField(const std::string &text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

struct Fields {
    std::string time, direction, device, from, to, hex, meaning;
};

bool isEvent(const JournalEntry &entry)
{
    return entry.direction == JournalDirection::Event;
}

std::string eventMeaning(const JournalEntry &entry)
{
    const auto text = [&](std::size_t index) { return std::string(entry.eventText(index)); };
    switch (entry.event) {
    case JournalEventKind::CheckStarted:
        return "room check: search request sent again";
    case JournalEventKind::CheckSkipped:
        return "room check skipped: frames of the previous check are still queued";
    case JournalEventKind::CheckFinished:
        return "room check finished: " + text(0);
    case JournalEventKind::UnitState:
        if (entry.unitState == UnitCheckState::NotResponding)
            return "not responding, no answer since " + text(0);
        return unitCheckStateText(entry.unitState);
    case JournalEventKind::Difference:
        return text(0) + " differs: ARX " + text(1) + ", unit " + text(2);
    case JournalEventKind::RoomAction:
        return text(0);
    case JournalEventKind::None:
        break;
    }
    return "event";
}

// Events carry the unit's number and state, and a difference its field and both values,
// instead of addresses and bytes.
std::string eventJsonLine(const JournalEntry &entry)
{
    std::string line = "{\"time\":\"" + utcText(entry.wallMs) + "\",\"direction\":\"event\","
        + "\"device\":\"" + jsonEscaped(deviceText(entry.device)) + "\"";
    if (entry.event == JournalEventKind::UnitState || entry.event == JournalEventKind::Difference)
        line += ",\"unit\":" + std::to_string(entry.device.unitNumber) + ",\"state\":\""
            + unitCheckStateText(entry.unitState) + "\"";
    if (entry.event == JournalEventKind::Difference)
        line += ",\"field\":\"" + jsonEscaped(std::string(entry.eventText(0))) + "\",\"arx\":\""
            + jsonEscaped(std::string(entry.eventText(1))) + "\",\"unit_value\":\""
            + jsonEscaped(std::string(entry.eventText(2))) + "\"";
    return line + ",\"meaning\":\"" + jsonEscaped(eventMeaning(entry)) + "\"}";
}

Fields fieldsOf(const JournalEntry &entry, const std::string &fallbackLocal)
{
    const bool out = entry.isOutgoing();
    const std::string far = endpointText(entry);
    // This end as the entry recorded it, which the capture of the same entry carries too; an
    // event has no ends.
    const std::string local = isEvent(entry) ? std::string()
        : entry.localAddress[0] != '\0'
        ? std::string(entry.localAddress) + ":" + std::to_string(entry.localPort)
        : fallbackLocal;
    return { .time = utcText(entry.wallMs),
        .direction = directionText(entry),
        .device = deviceText(entry.device),
        .from = out ? local : far,
        .to = out ? far : local,
        .hex = hexText(entry, false),
        .meaning = meaningText(entry) };
}

} // namespace

std::string directionText(const JournalEntry &entry)
{
    switch (entry.direction) {
    case JournalDirection::Out:
        return "out";
    case JournalDirection::In:
        return "in";
    case JournalDirection::Dropped:
        return "dropped";
    case JournalDirection::Event:
        return "event";
    }
    return "";
}

std::string deviceText(const JournalDevice &device)
{
    switch (device.kind) {
    case DeviceKind::None:
        return "";
    case DeviceKind::Search:
        return "search";
    case DeviceKind::Processor:
        return "processor";
    case DeviceKind::Unit: {
        std::string text = "unit " + std::to_string(device.unitNumber);
        const std::string name
            = gbkToUtf8({ device.unitName, strnlen(device.unitName, sizeof device.unitName) });
        return name.empty() ? text : text + " " + name;
    }
    }
    return "";
}

std::string endpointText(const JournalEntry &entry)
{
    if (isEvent(entry))
        return {};
    return std::string(entry.address) + ":" + std::to_string(entry.port);
}

std::string hexText(const JournalEntry &entry, bool spaced)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    if (isEvent(entry))
        return {};
    std::string text;
    text.reserve(entry.length * 3);
    for (std::size_t i = 0; i < entry.length; ++i) {
        if (spaced && i > 0)
            text += ' ';
        text += Digits[entry.bytes[i] >> 4];
        text += Digits[entry.bytes[i] & 0x0F];
    }
    return text;
}

std::string meaningText(const JournalEntry &entry)
{
    if (isEvent(entry))
        return eventMeaning(entry);
    const bool out = entry.isOutgoing();
    if (entry.direction == JournalDirection::Dropped) {
        std::string text = std::string("dropped: ") + dropReasonText(entry.reason);
        if (entry.reason == DropReason::SendError)
            text += " (" + std::string(std::strerror(entry.error)) + ")";
        if (entry.reason == DropReason::TooLong || entry.reason == DropReason::Empty)
            return text + " (" + std::to_string(entry.wireLength) + " bytes)";
        return text + "; "
            + frameMeaning(
                entry.frame(), out ? FrameWay::Out : FrameWay::In, entry.device.unitType);
    }
    return frameMeaning(entry.frame(), out ? FrameWay::Out : FrameWay::In, entry.device.unitType);
}

std::string utcText(std::int64_t wallMs)
{
    const std::time_t seconds = static_cast<std::time_t>(wallMs / 1000);
    std::tm parts {};
    gmtime_r(&seconds, &parts);
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &parts);
    std::snprintf(text + length, sizeof text - length, ".%03dZ", static_cast<int>(wallMs % 1000));
    return text;
}

std::string jsonLine(const JournalEntry &entry, const std::string &local)
{
    if (isEvent(entry))
        return eventJsonLine(entry);
    const Fields fields = fieldsOf(entry, local);
    return "{\"time\":\"" + fields.time + "\",\"direction\":\"" + fields.direction
        + "\",\"device\":\"" + jsonEscaped(fields.device) + "\",\"from\":\"" + fields.from
        + "\",\"to\":\"" + fields.to + "\",\"hex\":\"" + fields.hex + "\",\"meaning\":\""
        + jsonEscaped(fields.meaning) + "\"}";
}

void writeJournal(std::ostream &out, const std::vector<JournalEntry> &entries, JournalFormat format,
    const std::string &local)
{
    if (format == JournalFormat::Csv)
        out << "time,direction,device,from,to,hex,meaning\r\n";
    for (const JournalEntry &entry : entries) {
        if (format == JournalFormat::JsonLines) {
            out << jsonLine(entry, local) << '\n';
            continue;
        }
        const Fields f = fieldsOf(entry, local);
        out << csvField(f.time) << ',' << csvField(f.direction) << ',' << csvField(f.device) << ','
            << csvField(f.from) << ',' << csvField(f.to) << ',' << csvField(f.hex) << ','
            << csvField(f.meaning) << "\r\n";
    }
}

} // namespace arx
