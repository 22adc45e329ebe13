#include "SimUnit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace arxsim {

namespace {

// Colours as the equaliser family holds them: 24 bits, red in the low byte.
constexpr int rgb(int red, int green, int blue)
{
    return red | green << 8 | blue << 16;
}

constexpr std::array<int, EqBandCount> StartFrequencies { 100, 500, 2000, 5000 };
constexpr std::array<int, EqBandCount> StartShapes { 1, 0, 0, 2 }; // low shelf, peaks, high shelf

int be16(const Bytes &frame, std::size_t at)
{
    return frame[at] << 8 | frame[at + 1];
}

void putBe16(Bytes &frame, int value)
{
    frame.push_back(static_cast<std::uint8_t>(value >> 8));
    frame.push_back(static_cast<std::uint8_t>(value));
}

void putLe24(Bytes &frame, int value)
{
    for (int shift = 0; shift < 24; shift += 8)
        frame.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::string settingsText(const UnitSettings &s, bool withPhantom)
{
    std::string text = "gain=" + std::to_string(s.gain) + " lowCut=" + std::to_string(s.lowCut);
    if (withPhantom)
        text += " phantom=" + std::to_string(s.phantom);
    return text + " micMute=" + std::to_string(s.micMute) + " locate=" + std::to_string(s.locate)
        + " mode=" + std::to_string(s.mode);
}

std::string letterText(char letter)
{
    if (letter >= ' ' && letter < 0x7F)
        return std::string("'%") + letter + "'";
    char text[8];
    std::snprintf(text, sizeof text, "0x%02x", static_cast<unsigned char>(letter));
    return text;
}

UnitHandling ignored(std::string why)
{
    return { "ignored: " + std::move(why), false, {} };
}

UnitHandling applyAttach(SimUnit &unit, const Bytes &frame, const Endpoint &from)
{
    const int value = frame[2];
    if (value > 1)
        return ignored("attach value " + std::to_string(value) + " is neither 0 nor 1");
    unit.attached = value == 1;
    if (unit.attached)
        unit.controller = from;
    else
        unit.controller.reset();
    return { unit.attached ? "attach" : "detach", true, {} };
}

UnitHandling applySettings(SimUnit &unit, const Bytes &frame, const Endpoint &)
{
    UnitSettings &s = unit.settings;
    const bool withPhantom = unit.family().hasPhantom;
    std::size_t at = 2;
    s.gain = frame[at++];
    s.lowCut = frame[at++];
    if (withPhantom)
        s.phantom = frame[at++];
    s.micMute = frame[at++];
    s.locate = frame[at++];
    s.mode = frame[at++];
    return { "settings " + settingsText(s, withPhantom), true, settingsReport(unit) };
}

UnitHandling applyColours(SimUnit &unit, const Bytes &frame, const Endpoint &)
{
    unit.code.assign(frame.begin() + 2, frame.begin() + 10);
    int *colours[] = { &unit.colourOpen, &unit.colourMute, &unit.colourCall };
    const bool wide = unit.family().colourLetter == 'P';
    for (int i = 0; i < 3; ++i) {
        if (wide) {
            const std::size_t at = 10 + 3 * i;
            *colours[i] = frame[at] | frame[at + 1] << 8 | frame[at + 2] << 16;
        } else {
            *colours[i] = frame[10 + i];
        }
    }
    return { "colours code=" + readableText(unit.code) + " open=" + std::to_string(unit.colourOpen)
            + " mute=" + std::to_string(unit.colourMute)
            + " call=" + std::to_string(unit.colourCall),
        true, {} };
}

EqCoefficients coefficientsOf(const Bytes &frame)
{
    auto word
        = [&](std::size_t at) { return fromFixed3_21(frame[at], frame[at + 1], frame[at + 2]); };
    return { word(17), word(20), word(23), word(11), word(14) };
}

std::string coefficientsText(const EqCoefficients &c)
{
    char text[160];
    std::snprintf(text, sizeof text, " b0=%.6f b1=%.6f b2=%.6f -a1=%.6f -a2=%.6f", c.b0, c.b1, c.b2,
        c.minusA1, c.minusA2);
    return text;
}

UnitHandling applyEqualiser(SimUnit &unit, const Bytes &frame, const Endpoint &)
{
    const int slot = frame[2];
    if (slot >= EqFrameSlots)
        return ignored("equaliser band index " + std::to_string(slot) + " is past the low cut (4)");
    unit.eqFrames[slot] = frame;
    unit.eqCoefficients[slot] = coefficientsOf(frame);
    std::string meaning;
    if (slot < EqBandCount) {
        UnitEqBand &band = unit.eqBands[slot];
        band.enabled = frame[3];
        band.shape = frame[4];
        band.frequency = be16(frame, 5);
        band.q = be16(frame, 7);
        band.gain = be16(frame, 9);
        meaning = "equaliser band " + std::to_string(slot + 1)
            + " enabled=" + std::to_string(band.enabled) + " shape=" + std::to_string(band.shape)
            + " frequency=" + std::to_string(band.frequency) + " q=" + std::to_string(band.q)
            + " gain=" + std::to_string(band.gain);
    } else {
        UnitEqLowCut &lowCut = unit.eqLowCut;
        lowCut.on = frame[3];
        lowCut.frequency = be16(frame, 5);
        lowCut.shape = be16(frame, 9);
        meaning = "equaliser low cut on=" + std::to_string(lowCut.on) + " frequency="
            + std::to_string(lowCut.frequency) + " shape=" + std::to_string(lowCut.shape);
    }
    return { meaning + coefficientsText(unit.eqCoefficients[slot]), true, {} };
}

enum class Role { Attach, Settings, Colours, Equaliser };

bool understands(const UnitFamily &family, Role role, char letter)
{
    switch (role) {
    case Role::Attach:
        return letter == family.attachLetter;
    case Role::Settings:
        return letter == family.settingsLetter;
    case Role::Colours:
        return letter == family.colourLetter;
    case Role::Equaliser:
        return family.hasEqualiser;
    }
    return false;
}

struct FrameRule {
    char letter;
    std::size_t length;
    Role role;
    UnitHandling (*apply)(SimUnit &, const Bytes &, const Endpoint &);
};

constexpr FrameRule FrameRules[] = {
    { 'A', 9, Role::Settings, applySettings },
    { 'H', 8, Role::Settings, applySettings },
    { 'F', 4, Role::Attach, applyAttach },
    { 'K', 4, Role::Attach, applyAttach },
    { 'M', 14, Role::Colours, applyColours },
    { 'O', 14, Role::Colours, applyColours },
    { 'P', 20, Role::Colours, applyColours },
    { 'T', 27, Role::Equaliser, applyEqualiser },
};

UnitHandling interpret(SimUnit &unit, const Bytes &frame, const Endpoint &from)
{
    if (frame.size() < 3 || frame.front() != '%' || frame.back() != '#')
        return ignored("not a unit frame ('%' ... '#')");
    const char letter = static_cast<char>(frame[1]);
    const auto rule = std::find_if(std::begin(FrameRules), std::end(FrameRules),
        [&](const FrameRule &r) { return r.letter == letter; });
    if (rule == std::end(FrameRules))
        return ignored("unknown frame " + letterText(letter));
    if (frame.size() != rule->length)
        return ignored(letterText(letter) + " must be " + std::to_string(rule->length)
            + " bytes, not " + std::to_string(frame.size()));
    const UnitFamily &family = unit.family();
    if (!understands(family, rule->role, letter))
        return ignored("type " + std::to_string(unit.type) + " (" + family.name
            + ") does not understand " + letterText(letter));
    return rule->apply(unit, frame, from);
}

void putHeader(Bytes &frame, const SimUnit &unit, char letter)
{
    frame = { '%', static_cast<std::uint8_t>(letter), 0, 0 };
    for (int shift = 24; shift >= 0; shift -= 8)
        frame.push_back(static_cast<std::uint8_t>(unit.address >> shift));
    const std::size_t length = std::min<std::size_t>(unit.name.size(), 255);
    frame.push_back(static_cast<std::uint8_t>(length));
    frame.insert(frame.end(), unit.name.begin(), unit.name.begin() + static_cast<long>(length));
}

void putSettings(Bytes &frame, const UnitSettings &s, bool withPhantom)
{
    frame.push_back(static_cast<std::uint8_t>(s.gain));
    frame.push_back(static_cast<std::uint8_t>(s.lowCut));
    if (withPhantom)
        frame.push_back(static_cast<std::uint8_t>(s.phantom));
    frame.push_back(static_cast<std::uint8_t>(s.micMute));
    frame.push_back(static_cast<std::uint8_t>(s.locate));
    frame.push_back(static_cast<std::uint8_t>(s.mode));
}

void putCode(Bytes &frame, const std::string &code)
{
    for (std::size_t i = 0; i < 8; ++i)
        frame.push_back(i < code.size() ? static_cast<std::uint8_t>(code[i]) : 0);
}

void putEqualiser(Bytes &frame, const SimUnit &unit)
{
    for (int value : unit.eqHead)
        frame.push_back(static_cast<std::uint8_t>(value));
    frame.push_back(0);
    for (const UnitEqBand &band : unit.eqBands) {
        frame.push_back(static_cast<std::uint8_t>(band.shape));
        putBe16(frame, band.frequency);
        putBe16(frame, band.q);
        putBe16(frame, band.gain);
        frame.push_back(0);
    }
    frame.push_back(0);
    putBe16(frame, unit.eqLowCut.frequency);
    putBe16(frame, 0);
    putBe16(frame, unit.eqLowCut.shape);
}

} // namespace

SimUnit makeUnit(int number, int type, Ipv4 address)
{
    SimUnit unit;
    unit.number = number;
    unit.type = type;
    unit.address = address;
    char text[16];
    std::snprintf(text, sizeof text, "Seat %02d", number);
    unit.name = text;
    std::snprintf(text, sizeof text, "SIM-%04d", number % 10000);
    unit.code = text;
    const UnitFamily &family = unit.family();
    // Gain is a list index for ARN1 (+6 dB) and VEL-K (0 dB), the dB value itself for PXL2.
    unit.settings = { family.hasEqualiser ? 6 : 2, 0, family.hasPhantom ? 1 : 0, 0, 0, 1 };
    if (family.colourLetter == 'P') {
        unit.colourOpen = rgb(0, 255, 0);
        unit.colourMute = rgb(255, 0, 0);
        unit.colourCall = rgb(255, 160, 0);
    } else {
        unit.colourOpen = 2;
        unit.colourMute = 1;
        unit.colourCall = 4;
    }
    for (int band = 0; band < EqBandCount; ++band) {
        unit.eqBands[band].frequency = StartFrequencies[band];
        unit.eqBands[band].shape = StartShapes[band];
    }
    unit.eqLowCut.on = unit.settings.lowCut;
    unit.noise = static_cast<std::uint32_t>(number) * 2654435761u | 1u;
    return unit;
}

UnitHandling applyUnitFrame(SimUnit &unit, const Bytes &frame, const Endpoint &from)
{
    unit.received.push_back(frame);
    UnitHandling handling = interpret(unit, frame, from);
    if (!handling.applied)
        ++unit.ignoredFrames;
    return handling;
}

Bytes announcement(const SimUnit &unit)
{
    const UnitFamily &family = unit.family();
    Bytes frame;
    putHeader(frame, unit, family.announcement);
    if (family.announcement == 'H') {
        putSettings(frame, unit.settings, true);
        putCode(frame, unit.code);
        putLe24(frame, unit.colourOpen);
        putLe24(frame, unit.colourMute);
        putLe24(frame, unit.colourCall);
        putEqualiser(frame, unit);
    } else {
        putSettings(frame, unit.settings, family.hasPhantom);
        if (family.carriesColours) {
            putCode(frame, unit.code);
            frame.push_back(static_cast<std::uint8_t>(unit.colourOpen));
            frame.push_back(static_cast<std::uint8_t>(unit.colourMute));
            frame.push_back(static_cast<std::uint8_t>(unit.colourCall));
        }
    }
    frame.push_back('#');
    return frame;
}

Bytes settingsReport(const SimUnit &unit)
{
    const UnitFamily &family = unit.family();
    Bytes frame { '%', static_cast<std::uint8_t>(family.reportLetter) };
    putSettings(frame, unit.settings, family.hasPhantom);
    frame.push_back('#');
    return frame;
}

Bytes nextLevelReport(SimUnit &unit, double seconds)
{
    // Speech-like: a slow swell per unit, a faster flutter and a little jitter, inside the
    // 0..16 that a strip's meter shows at twice the value.
    const double period = 2.0 + 0.37 * unit.number;
    const double swell = 5.0 * std::sin(2.0 * M_PI * seconds / period);
    const double flutter = 2.0 * std::sin(2.0 * M_PI * seconds * 3.1 / period + unit.number);
    unit.noise = unit.noise * 1664525u + 1013904223u;
    const double jitter = static_cast<double>(unit.noise >> 16) / 32768.0 - 1.0;
    unit.level = std::clamp(static_cast<int>(std::lround(7.0 + swell + flutter + jitter)), 0, 16);
    return { '%', static_cast<std::uint8_t>(unit.family().levelLetter),
        static_cast<std::uint8_t>(unit.level), '#' };
}

std::string describeOutgoing(const SimUnit &unit, const Bytes &frame)
{
    const UnitFamily &family = unit.family();
    const char letter = frame.size() > 1 ? static_cast<char>(frame[1]) : 0;
    if (letter == family.announcement && frame.size() > 9)
        return "announcement " + letterText(letter) + " type " + std::to_string(unit.type) + " \""
            + readableText(unit.name) + "\"";
    if (letter == family.reportLetter)
        return "settings report " + settingsText(unit.settings, family.hasPhantom);
    if (letter == family.levelLetter && frame.size() == 4)
        return "level " + std::to_string(frame[2]);
    return "frame " + letterText(letter);
}

double fromFixed3_21(std::uint8_t high, std::uint8_t middle, std::uint8_t low)
{
    std::int32_t word = high << 16 | middle << 8 | low;
    if (word & 0x800000)
        word -= 0x1000000;
    return word / 2097152.0;
}

} // namespace arxsim
