#include "journal/FrameMeaning.h"

#include "format/Gbk.h"
#include "format/UnitValueText.h"
#include "model/DeviceRecord.h"
#include "protocol/Frames.h"

#include <cstdarg>
#include <cstdio>

namespace arx {

namespace {

std::string printf(const char *format, ...) __attribute__((format(printf, 1, 2)));
std::string printf(const char *format, ...)
{
    char text[160];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

// Reads a frame's fields; callers check the length first.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes)
        : bytes_(bytes)
    {
    }
    std::size_t size() const { return bytes_.size(); }
    int byte(std::size_t at) const { return bytes_[at]; }
    // 16 bits, most significant byte first.
    int word(std::size_t at) const { return bytes_[at] << 8 | bytes_[at + 1]; }
    // 24 bits, least significant byte first.
    int wide(std::size_t at) const
    {
        return bytes_[at] | bytes_[at + 1] << 8 | bytes_[at + 2] << 16;
    }
    std::string text(std::size_t at, std::size_t length) const
    {
        return gbkToUtf8({ reinterpret_cast<const char *>(bytes_.data()) + at, length });
    }

private:
    std::span<const std::uint8_t> bytes_;
};

std::string channelText(int channel)
{
    return channel == 0 ? "A" : channel == 1 ? "B" : printf("channel %d", channel);
}

std::string crossoverTypeText(int type)
{
    constexpr const char *Types[]
        = { "Butterworth 1", "Butterworth 2", "Bessel 2", "Linkwitz 2", "Variable" };
    return type >= 0 && type < 5 ? Types[type] : printf("type %d", type);
}

// The port (most significant byte first) and the four address bytes of 'C' and 07.
std::string answerAddressText(const Reader &frame, std::size_t at, const char *separator)
{
    return printf("%d.%d.%d.%d%s%d", frame.byte(at + 2), frame.byte(at + 3), frame.byte(at + 4),
        frame.byte(at + 5), separator, frame.word(at));
}

// gain, low cut, [48V,] mute, locate, mode from `at` on.
std::string settingsText(const Reader &frame, std::size_t at, bool phantom, std::int32_t unitType)
{
    std::string text
        = "gain " + gainText(unitType, frame.byte(at)) + ", low cut " + onOff(frame.byte(at + 1));
    std::size_t next = at + 2;
    if (phantom)
        text += ", 48V " + onOff(frame.byte(next++));
    text += ", mute " + onOff(frame.byte(next)) + ", locate " + onOff(frame.byte(next + 1))
        + ", mode " + modeText(frame.byte(next + 2));
    return text;
}

std::string colourIndexesText(const Reader &frame, std::size_t at)
{
    return "colours open " + colourIndexText(frame.byte(at)) + ", mute "
        + colourIndexText(frame.byte(at + 1)) + ", call " + colourIndexText(frame.byte(at + 2));
}

std::string colourWideText(const Reader &frame, std::size_t at)
{
    return "colours open " + colourRgbText(frame.wide(at)) + ", mute "
        + colourRgbText(frame.wide(at + 3)) + ", call " + colourRgbText(frame.wide(at + 6));
}

// A microphone equaliser band: frequency, Q x 100 and gain (dB x 10 + 300) as words.
std::string micBandText(int band, int frequency, int qCode, int gainCode, int shape)
{
    return printf("EQ band %d: %d Hz, Q %s, %s, %s", band, frequency, qText(qCode, 100).c_str(),
        micEqGainText(gainCode).c_str(), shapeText(shape).c_str());
}

// Unit frames -----------------------------------------------------------------------------

std::string unitSettings(const Reader &frame, std::int32_t type)
{
    return "settings " + settingsText(frame, 2, true, type);
}

std::string unitSettings5(const Reader &frame, std::int32_t type)
{
    return "settings " + settingsText(frame, 2, false, type);
}

std::string searchRequest(const Reader &frame, std::int32_t)
{
    return "search from " + answerAddressText(frame, 2, ":");
}

std::string attach(const Reader &frame, std::int32_t)
{
    const int value = frame.byte(2);
    return value == 1 ? "attach" : value == 0 ? "detach" : printf("attach value %d", value);
}

std::string colours(const Reader &frame, std::int32_t)
{
    return colourIndexesText(frame, 10) + ", code " + frame.text(2, CodeLength);
}

std::string coloursWide(const Reader &frame, std::int32_t)
{
    return colourWideText(frame, 10) + ", code " + frame.text(2, CodeLength);
}

std::string micEqBand(const Reader &frame, std::int32_t)
{
    const int band = frame.byte(2);
    if (band == 4)
        return printf("low cut %s, %d Hz", onOff(frame.byte(3)).c_str(), frame.word(5));
    std::string text
        = micBandText(band + 1, frame.word(5), frame.word(7), frame.word(9), frame.byte(4));
    if (frame.byte(3) == 0)
        text += ", off";
    return text;
}

std::string settingsReport(const Reader &frame, std::int32_t type)
{
    return "settings report " + settingsText(frame, 2, frame.byte(1) == 'E', type);
}

std::string levelReport(const Reader &frame, std::int32_t)
{
    return printf("level %d", frame.byte(2));
}

std::string unusedReport(const Reader &frame, std::int32_t)
{
    return printf("'%%%c', not used by ARX", frame.byte(1));
}

// '%', letter, two unused bytes, four unused address bytes, name length N, the name.
constexpr std::size_t NameLengthAt = 8;
constexpr std::size_t NameAt = 9;
constexpr std::size_t WideFieldsLength = 67;

struct NarrowVariant {
    std::size_t extra; // the datagram is N + extra bytes long
    std::int32_t type;
    bool phantom;
    bool codeAndColours;
};
constexpr NarrowVariant NarrowVariants[] = {
    { .extra = 27, .type = UnitTypeArn1, .phantom = true, .codeAndColours = true },
    { .extra = 16, .type = UnitTypeArn1Short, .phantom = true, .codeAndColours = false },
    { .extra = 26, .type = UnitTypeVelK, .phantom = false, .codeAndColours = true },
    { .extra = 15, .type = UnitTypeVelKShort, .phantom = false, .codeAndColours = false },
};

std::string announcementHead(const Reader &frame, std::int32_t type)
{
    return printf("announcement %s \"%s\": ", unitFamilyName(type),
        frame.text(NameAt, frame.byte(NameLengthAt)).c_str());
}

std::string narrowAnnouncement(const Reader &frame, std::int32_t)
{
    const std::size_t nameLength = frame.size() > NameLengthAt ? frame.byte(NameLengthAt) : 0;
    for (const NarrowVariant &variant : NarrowVariants) {
        if (frame.size() != nameLength + variant.extra)
            continue;
        const std::size_t fields = NameAt + nameLength;
        std::string text = announcementHead(frame, variant.type)
            + settingsText(frame, fields, variant.phantom, variant.type);
        if (variant.codeAndColours) {
            const std::size_t code = fields + (variant.phantom ? 6 : 5);
            text += ", " + colourIndexesText(frame, code + CodeLength) + ", code "
                + frame.text(code, CodeLength);
        }
        return text;
    }
    return printf("announcement of %zu bytes, a length no unit sends", frame.size());
}

std::string wideAnnouncement(const Reader &frame, std::int32_t)
{
    const std::size_t nameLength = frame.size() > NameLengthAt ? frame.byte(NameLengthAt) : 0;
    const std::size_t at = NameAt + nameLength;
    if (frame.size() < at + WideFieldsLength + 1)
        return printf("PXL2 announcement of %zu bytes, too short", frame.size());
    std::string text = announcementHead(frame, UnitTypePxl2)
        + settingsText(frame, at, true, UnitTypePxl2) + ", " + colourWideText(frame, at + 14)
        + ", code " + frame.text(at + 6, CodeLength);
    for (int band = 0; band < MicEqBandCount; ++band) {
        const std::size_t field = at + 28 + 8 * static_cast<std::size_t>(band);
        text += "; "
            + micBandText(band + 1, frame.word(field + 1), frame.word(field + 3),
                frame.word(field + 5), frame.byte(field));
    }
    return text + printf("; low cut %d Hz", frame.word(at + 61));
}

struct UnitFrameKind {
    char letter;
    FrameWay way;
    std::size_t length; // 0: the decoder checks the length itself
    bool atLeast; // longer frames are read too, as the parser does
    std::string (*decode)(const Reader &, std::int32_t unitType);
};

constexpr UnitFrameKind UnitFrameKinds[] = {
    { .letter = 'A', .way = FrameWay::Out, .length = 9, .atLeast = false, .decode = unitSettings },
    { .letter = 'H', .way = FrameWay::Out, .length = 8, .atLeast = false, .decode = unitSettings5 },
    { .letter = 'C', .way = FrameWay::Out, .length = 9, .atLeast = false, .decode = searchRequest },
    { .letter = 'F', .way = FrameWay::Out, .length = 4, .atLeast = false, .decode = attach },
    { .letter = 'K', .way = FrameWay::Out, .length = 4, .atLeast = false, .decode = attach },
    { .letter = 'M', .way = FrameWay::Out, .length = 14, .atLeast = false, .decode = colours },
    { .letter = 'O', .way = FrameWay::Out, .length = 14, .atLeast = false, .decode = colours },
    { .letter = 'P', .way = FrameWay::Out, .length = 20, .atLeast = false, .decode = coloursWide },
    { .letter = 'T', .way = FrameWay::Out, .length = 27, .atLeast = false, .decode = micEqBand },
    { .letter = 'D',
        .way = FrameWay::In,
        .length = 0,
        .atLeast = false,
        .decode = narrowAnnouncement },
    { .letter = 'H',
        .way = FrameWay::In,
        .length = 0,
        .atLeast = false,
        .decode = wideAnnouncement },
    { .letter = 'E', .way = FrameWay::In, .length = 9, .atLeast = true, .decode = settingsReport },
    { .letter = 'J', .way = FrameWay::In, .length = 8, .atLeast = true, .decode = settingsReport },
    { .letter = 'G', .way = FrameWay::In, .length = 4, .atLeast = true, .decode = levelReport },
    { .letter = 'L', .way = FrameWay::In, .length = 4, .atLeast = true, .decode = levelReport },
    { .letter = 'B', .way = FrameWay::In, .length = 0, .atLeast = false, .decode = unusedReport },
    { .letter = 'U', .way = FrameWay::In, .length = 0, .atLeast = false, .decode = unusedReport },
};

std::string letterText(int letter)
{
    return letter > ' ' && letter < 0x7F ? printf("'%%%c'", letter) : printf("'%%' %02X", letter);
}

std::string unitFrameMeaning(const Reader &frame, FrameWay way, std::int32_t unitType)
{
    const int letter = frame.byte(1);
    for (const UnitFrameKind &kind : UnitFrameKinds) {
        if (kind.letter != letter || kind.way != way)
            continue;
        const bool fits = kind.length == 0 || frame.size() == kind.length
            || (kind.atLeast && frame.size() > kind.length);
        if (!fits)
            return printf(
                "%s of %zu bytes, not %zu", letterText(letter).c_str(), frame.size(), kind.length);
        return kind.decode(frame, unitType);
    }
    return "unknown unit frame " + letterText(letter);
}

// Processor frames ------------------------------------------------------------------------

std::string speakerEqBand(const Reader &frame)
{
    return printf("processor EQ %s band %d: %d Hz, Q %s, %s", channelText(frame.byte(4)).c_str(),
        frame.byte(5), frame.word(6), qText(frame.word(8), 10).c_str(),
        tenthsDb(frame.word(10) - 180).c_str());
}

std::string crossover(const Reader &frame)
{
    const int type = frame.byte(27);
    std::string text = printf("%s %s %s, %d Hz", frame.byte(3) == 0x02 ? "high-pass" : "low-pass",
        channelText(frame.byte(4)).c_str(), crossoverTypeText(type).c_str(), frame.word(5));
    if (type == 4) // only the variable type uses its Q
        text += ", Q " + qText(frame.word(28), 10);
    return text;
}

std::string dynamics(const Reader &frame)
{
    const int ratio = frame.word(5);
    return printf("limiter %s threshold %s, ratio 1:%d.%d, attack %dms, release %dms",
        channelText(frame.byte(4)).c_str(), signedDb(-frame.byte(7)).c_str(), ratio / 10,
        ratio % 10, frame.byte(8), frame.byte(9));
}

std::string level(const Reader &frame)
{
    constexpr const char *Targets[] = { "main", "A", "B" };
    const int target = frame.byte(4);
    const std::string where = target < 3 ? Targets[target] : printf("target %d", target);
    return "level " + where + " " + tenthsDb(240 - 5 * frame.byte(5));
}

std::string deviceName(const Reader &frame)
{
    return "name " + frame.text(4, ProcessorNameLength);
}

std::string connectRequest(const Reader &frame)
{
    // The port it carries is the processor's own, not the one answers come to.
    return "connect request from " + answerAddressText(frame, 4, ", port ");
}

std::string deviceReset(const Reader &)
{
    return "device reset";
}

std::string phase(const Reader &frame)
{
    const int value = frame.byte(5);
    const std::string state = value == 1 ? "inverted"
        : value == 0                     ? "normal"
                                         : std::to_string(value);
    return "phase " + channelText(frame.byte(4)) + " " + state;
}

std::string processorAnswer(const Reader &frame)
{
    return "processor answer " + frame.text(4, frame.size() - 5);
}

struct ProcessorFrameKind {
    std::uint8_t command;
    FrameWay way;
    std::size_t length; // 0: any length the framing allows
    std::string (*decode)(const Reader &);
};

constexpr ProcessorFrameKind ProcessorFrameKinds[] = {
    { .command = 0x01, .way = FrameWay::Out, .length = 33, .decode = speakerEqBand },
    { .command = 0x02, .way = FrameWay::Out, .length = 31, .decode = crossover },
    { .command = 0x03, .way = FrameWay::Out, .length = 31, .decode = crossover },
    { .command = 0x04, .way = FrameWay::Out, .length = 7, .decode = level },
    { .command = 0x05, .way = FrameWay::Out, .length = 47, .decode = dynamics },
    { .command = 0x06, .way = FrameWay::Out, .length = 15, .decode = deviceName },
    { .command = 0x07, .way = FrameWay::Out, .length = 11, .decode = connectRequest },
    { .command = 0x08, .way = FrameWay::Out, .length = 5, .decode = deviceReset },
    { .command = 0x0A, .way = FrameWay::Out, .length = 7, .decode = phase },
    { .command = 0x07, .way = FrameWay::In, .length = 0, .decode = processorAnswer },
};

std::string processorFrameMeaning(const Reader &frame, FrameWay way)
{
    if (frame.size() < ProcessorFrameOverhead + 1
        || frame.byte(2) + ProcessorFrameOverhead != frame.size()
        || frame.byte(frame.size() - 1) != ProcessorFrameEnd)
        return printf("processor frame of %zu bytes with a wrong length or end", frame.size());
    const int command = frame.byte(3);
    for (const ProcessorFrameKind &kind : ProcessorFrameKinds) {
        if (kind.command != command || kind.way != way)
            continue;
        if (kind.length != 0 && frame.size() != kind.length)
            return printf(
                "processor command %02X of %zu bytes, not %zu", command, frame.size(), kind.length);
        return kind.decode(frame);
    }
    return printf("unknown processor command %02X", command);
}

} // namespace

std::string frameMeaning(std::span<const std::uint8_t> bytes, FrameWay way, std::int32_t unitType)
{
    const Reader frame(bytes);
    if (bytes.empty())
        return "empty";
    if (bytes.size() >= 2 && bytes[0] == UnitFrameStart && bytes.back() == UnitFrameEnd)
        return unitFrameMeaning(frame, way, unitType);
    if (bytes.size() >= 2 && bytes[0] == ProcessorFrameStart1 && bytes[1] == ProcessorFrameStart2)
        return processorFrameMeaning(frame, way);
    return "not a frame";
}

bool isLevelReport(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 4 && bytes[0] == UnitFrameStart && (bytes[1] == 'G' || bytes[1] == 'L')
        && bytes.back() == UnitFrameEnd;
}

} // namespace arx
