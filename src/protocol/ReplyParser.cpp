#include "protocol/ReplyParser.h"

#include "protocol/Frames.h"
#include "protocol/Ports.h"
#include "protocol/Senders.h"

#include <algorithm>
#include <cassert>
#include <string_view>

namespace arx {

namespace {

// Announcements: '%', letter, two unused bytes, four unused address bytes, the name length
// N, N name bytes, then the fields of the variant, '#'.
constexpr std::size_t NameLengthIndex = 8;
constexpr std::size_t NameIndex = 9;
constexpr std::size_t StoredNameLength = DeviceTextWidth - 1;

// The fields of a '%H' announcement take 67 bytes after the name; a '#' follows them.
constexpr std::size_t WideFieldsLength = 67;

// Reads the fields of a datagram from a start position on. Callers test the datagram's
// length first; reading past the received bytes is a fault, never a zero.
class Fields {
public:
    Fields(const Datagram &datagram, std::size_t start)
        : datagram_(datagram)
        , start_(start)
    {
    }

    std::uint8_t byte(std::size_t position) const
    {
        const std::size_t index = start_ + position;
        assert(index < datagram_.length);
        return datagram_.bytes.at(index);
    }
    std::int32_t unsignedByte(std::size_t position) const { return byte(position); }
    std::int32_t signedByte(std::size_t position) const
    {
        return static_cast<std::int8_t>(byte(position));
    }
    // 16 bits, most significant byte first.
    std::int32_t word(std::size_t position) const
    {
        return byte(position) << 8 | byte(position + 1);
    }
    // 24 bits, least significant byte first.
    std::int32_t wide(std::size_t position) const
    {
        return byte(position) | byte(position + 1) << 8 | byte(position + 2) << 16;
    }
    std::string_view text(std::size_t position, std::size_t length) const
    {
        assert(start_ + position + length <= datagram_.length);
        return { reinterpret_cast<const char *>(datagram_.bytes.data()) + start_ + position,
            length };
    }

private:
    const Datagram &datagram_;
    std::size_t start_;
};

// The '%D' variants: the type follows from the datagram length N + extra alone.
struct NarrowVariant {
    std::size_t extra;
    std::int32_t type;
    bool phantom; // the settings include phantom power
    bool codeAndColours; // code and three colour bytes follow the settings
};
constexpr NarrowVariant NarrowVariants[] = {
    { 27, UnitTypeArn1, true, true },
    { 16, UnitTypeArn1Short, true, false },
    { 26, UnitTypeVelK, false, true },
    { 15, UnitTypeVelKShort, false, false },
};

struct Announcement {
    std::int32_t type = 0;
    std::string_view name;
    const NarrowVariant *variant = nullptr; // none for '%H'
};

bool isVelK(std::int32_t type)
{
    return type == UnitTypeVelK || type == UnitTypeVelKShort;
}

std::size_t announcedNameLength(const Datagram &datagram)
{
    return datagram.length > NameLengthIndex ? datagram.bytes[NameLengthIndex] : 0;
}

// The name as the unit's record can hold it: at most 23 bytes, ending at its first NUL, so
// that a unit is found again by the very text its record keeps.
std::string_view storableName(std::string_view announced)
{
    std::string_view name = announced.substr(0, StoredNameLength);
    return name.substr(0, name.find('\0'));
}

std::optional<Announcement> readAnnouncement(const Datagram &datagram, DropReason &dropped)
{
    const std::size_t nameLength = announcedNameLength(datagram);
    Announcement announcement;
    if (datagram.bytes[1] == 'D') {
        for (const NarrowVariant &variant : NarrowVariants) {
            if (datagram.length == nameLength + variant.extra)
                announcement.variant = &variant;
        }
        if (!announcement.variant) {
            dropped = DropReason::NoVariant;
            return std::nullopt;
        }
        announcement.type = announcement.variant->type;
    } else {
        // '%H' carries no length of its own: one too short for its fields is dropped.
        if (datagram.length < NameIndex + nameLength + WideFieldsLength + 1) {
            dropped = DropReason::TooShort;
            return std::nullopt;
        }
        announcement.type = UnitTypePxl2;
    }
    announcement.name = storableName(Fields(datagram, NameIndex).text(0, nameLength));
    return announcement;
}

// Settings in announcement order: gain, low cut, [phantom,] mute, locate, mode.
std::size_t storeSettings(DeviceRecord &record, const Fields &fields, bool phantom,
    std::int32_t (Fields::*read)(std::size_t) const)
{
    std::size_t position = 0;
    record.gain = (fields.*read)(position++);
    record.lowCut = (fields.*read)(position++);
    if (phantom)
        record.phantom = (fields.*read)(position++);
    record.micMute = (fields.*read)(position++);
    record.locate = (fields.*read)(position++);
    record.mode = (fields.*read)(position++);
    return position;
}

void storeNarrowFields(DeviceRecord &record, const Fields &fields, const NarrowVariant &variant)
{
    std::size_t position = storeSettings(record, fields, variant.phantom, &Fields::signedByte);
    if (!variant.codeAndColours)
        return;
    setText(record.code, fields.text(position, CodeLength));
    position += CodeLength;
    record.colourOpen = fields.signedByte(position++);
    record.colourMute = fields.signedByte(position++);
    record.colourCall = fields.signedByte(position);
}

// Positions count from the first byte after the name.
void storeWideFields(DeviceRecord &record, const Fields &fields)
{
    storeSettings(record, fields, true, &Fields::signedByte);
    setText(record.code, fields.text(6, CodeLength));
    record.colourOpen = fields.wide(14);
    record.colourMute = fields.wide(17);
    record.colourCall = fields.wide(20);

    record.eqHead.q = fields.signedByte(23);
    record.eqHead.shape = fields.signedByte(24);
    record.eqHead.enabled = fields.signedByte(25);
    record.eqHead.spare = fields.signedByte(26);

    for (std::size_t k = 0; k < MicEqBandCount; ++k) {
        const std::size_t at = 28 + 8 * k;
        MicEqBand &band = record.eqBands[k];
        band.shape = fields.byte(at);
        band.frequency = std::clamp(fields.word(at + 1), 20, 20000);
        band.q = std::clamp(fields.word(at + 3) / 10, 1, 1000);
        band.gain = std::min(fields.word(at + 5), 600);
        band.enabled = 1;
    }
    record.eqLowCutFrequency = std::clamp(fields.word(61), 20, 200);
    record.eqLowCutShape = fields.word(65);
    record.eqLowCutOn = record.lowCut;
}

// Stores every field the announcement's variant carries; answers which they are.
UnitFields storeAnnouncedFields(
    DeviceRecord &record, const Datagram &datagram, const Announcement &announcement)
{
    const Fields fields(datagram, NameIndex + announcedNameLength(datagram));
    if (!announcement.variant) {
        storeWideFields(record, fields);
        return SettingsFields | ColourFields | EqualiserFields;
    }
    storeNarrowFields(record, fields, *announcement.variant);
    UnitFields carried = UnitField::Gain | UnitField::LowCut | UnitField::Mute | UnitField::Locate
        | UnitField::Mode;
    if (announcement.variant->phantom)
        carried = carried | UnitField::Phantom;
    if (announcement.variant->codeAndColours)
        carried = carried | ColourFields;
    return carried;
}

void sendAttach(Link &link, const std::string &address, std::int32_t type)
{
    if (isVelK(type))
        SendAttach5(link, address, 1, AttachDelivery::UnlessWaiting);
    else
        SendAttach(link, address, 1, AttachDelivery::UnlessWaiting);
}

void takeAnnouncedIdentity(DeviceRecord &record, int slot, const Datagram &datagram,
    const Announcement &announcement, const Clock &clock)
{
    setText(record.name, announcement.name);
    setText(record.ip, datagram.sender);
    record.unitNumber = slot + 1;
    record.levelIndex = 0;
    record.type = announcement.type;
    record.lastHeard = clock.localTime();
}

ReplyActions registerUnit(Store &store, Link &link, const Clock &clock, const Datagram &datagram,
    DropReason &dropped, const KnownAnnouncementListener &known)
{
    const auto announcement = readAnnouncement(datagram, dropped);
    if (!announcement)
        return {};

    int slot = findSlotForAnnouncement(store, datagram.sender, announcement->name);
    if (slot >= 0) {
        if (known) {
            DeviceRecord announced;
            takeAnnouncedIdentity(announced, slot, datagram, *announcement, clock);
            const UnitFields carried = storeAnnouncedFields(announced, datagram, *announcement);
            known({ .slot = slot, .announced = announced, .carried = carried });
        }
        // A known unit: only who and where it is change; its settings stay as they are.
        DeviceRecord &record = store.unitTable[slot];
        takeAnnouncedIdentity(record, slot, datagram, *announcement, clock);
        if (isVelK(announcement->type))
            record.inUse = 1;
        if (record.inUse)
            sendAttach(link, datagram.sender, announcement->type);
        return { { ReplyAction::RefreshUnitList } };
    }

    slot = findFreeSlot(store);
    if (slot < 0) {
        dropped = DropReason::NoFreeSlot;
        return {};
    }
    DeviceRecord &record = store.unitTable[slot];
    record.inUse = 1;
    takeAnnouncedIdentity(record, slot, datagram, *announcement, clock);
    storeAnnouncedFields(record, datagram, *announcement);
    sendAttach(link, datagram.sender, announcement->type);
    return { { ReplyAction::RefreshStrip, slot, AllUnitFields }, { ReplyAction::RefreshUnitList } };
}

// Settings and level reports: '%', letter, values, '#'.
ReplyActions applyReport(
    Store &store, const Clock &clock, const Datagram &datagram, DropReason &dropped)
{
    const std::uint8_t letter = datagram.bytes[1];
    const bool settings = letter == 'E' || letter == 'J';
    const std::size_t valueCount = letter == 'E' ? 6 : letter == 'J' ? 5 : 1;
    if (datagram.length < 2 + valueCount + 1) {
        dropped = DropReason::TooShort; // never read zeros as settings
        return {};
    }
    const Fields values(datagram, 2);

    ReplyActions actions;
    bool matched = false;
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        DeviceRecord &record = store.unitTable[slot];
        if (!slotMatchesSender(record, datagram.sender))
            continue;
        matched = true;
        if (settings) {
            storeSettings(record, values, letter == 'E', &Fields::unsignedByte);
            const UnitFields reported = letter == 'E' ? SettingsFields
                                                      : UnitField::Gain | UnitField::LowCut
                    | UnitField::Mute | UnitField::Locate | UnitField::Mode;
            actions.push_back({ ReplyAction::RefreshStrip, slot, reported });
            continue;
        }
        const std::int32_t level = values.unsignedByte(0);
        record.lastHeard = clock.localTime();
        record.level = level;
        int index = record.levelIndex >= 0 && record.levelIndex < 4 ? record.levelIndex : 0;
        record.levelHistory[index] = level;
        if (++index == 4) {
            if (letter == 'L')
                actions.push_back({ ReplyAction::UpdateMeter, slot });
            index = 0;
        }
        record.levelIndex = index;
        actions.push_back({ ReplyAction::UpdateMeter, slot });
    }
    if (!matched)
        dropped = DropReason::UnknownSender;
    return actions;
}

ReplyActions handleUnitFrame(Store &store, Link &link, const Clock &clock, const Datagram &datagram,
    DropReason &dropped, const KnownAnnouncementListener &known)
{
    if (datagram.length < 2 || datagram.bytes[0] != UnitFrameStart
        || datagram.bytes[datagram.length - 1] != UnitFrameEnd) {
        dropped = DropReason::WrongFraming;
        return {};
    }
    if (!store.scanActive) {
        dropped = DropReason::SearchOff;
        return {};
    }
    switch (datagram.bytes[1]) {
    case 'D':
    case 'H':
        return registerUnit(store, link, clock, datagram, dropped, known);
    case 'E':
    case 'J':
    case 'G':
    case 'L':
        return applyReport(store, clock, datagram, dropped);
    case 'B':
    case 'U': // known, and mean nothing to us
        dropped = DropReason::UnusedLetter;
        return {};
    default:
        dropped = DropReason::UnknownLetter;
        return {};
    }
}

ReplyActions handleProcessorAnswer(
    Store &store, ProcessorListModel &processors, const Datagram &datagram, const std::string &name)
{
    ReplyActions actions;
    int row = processors.findRow(ProcessorAddressColumn, datagram.sender);
    if (row < 0) {
        processors.appendRow(
            { datagram.sender, name, std::to_string(ProcessorPort), ProcessorNotConnected });
        row = static_cast<int>(processors.rowCount() - 1);
        actions.push_back({ ReplyAction::RefreshProcessorList });
    } else if (processors.cell(row, ProcessorNameColumn) != name) {
        processors.setCell(row, ProcessorNameColumn, name);
        actions.push_back({ ReplyAction::RefreshProcessorList });
    }

    SpeakerStore &speaker = store.speaker;
    if (speaker.rdaConnecting && datagram.sender == store.rdaAddress) {
        speaker.rdaConnected = 1;
        speaker.rdaConnecting = 0;
        processors.setCell(row, ProcessorStatusColumn, ProcessorConnected);
        if (actions.empty())
            actions.push_back({ ReplyAction::RefreshProcessorList });
        actions.push_back({ ReplyAction::ProcessorConnected });
    }
    return actions;
}

} // namespace

std::optional<std::string> processorAnswerName(const Datagram &datagram)
{
    const std::size_t length = datagram.length;
    if (length < ProcessorFrameOverhead + 1 || length > DatagramCapacity)
        return std::nullopt;
    const auto &bytes = datagram.bytes;
    if (bytes[0] != ProcessorFrameStart1 || bytes[1] != ProcessorFrameStart2
        || bytes[length - 1] != ProcessorFrameEnd || bytes[2] + ProcessorFrameOverhead != length
        || bytes[3] != ProcessorConnect)
        return std::nullopt;
    const std::size_t nameLength = length - ProcessorFrameOverhead - 1;
    if (nameLength > ProcessorAnswerNameLength)
        return std::nullopt;
    std::string_view name(reinterpret_cast<const char *>(bytes.data()) + 4, nameLength);
    return std::string(name.substr(0, name.find('\0')));
}

ReplyActions HandleReply(Store &store, ProcessorListModel &processors, Link &link,
    const Clock &clock, const Datagram &datagram, DropReason *dropped,
    const KnownAnnouncementListener &known)
{
    DropReason reason = DropReason::None;
    ReplyActions actions;
    if (datagram.length == 0)
        reason = DropReason::Empty;
    else if (datagram.length > DatagramCapacity)
        reason = DropReason::TooLong;
    // Processor answers are not unit frames: they count whether the search is on or not.
    else if (const auto name = processorAnswerName(datagram))
        actions = handleProcessorAnswer(store, processors, datagram, *name);
    else
        actions = handleUnitFrame(store, link, clock, datagram, reason, known);
    if (dropped)
        *dropped = reason;
    return actions;
}

} // namespace arx
