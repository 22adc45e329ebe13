#include "roomfile/RoomFileJson.h"

#include "control/ControlSyntax.h"
#include "control/ControlValues.h"
#include "format/Gbk.h"
#include "format/UnitValueText.h"
#include "mic/UnitController.h"
#include "model/RingColours.h"
#include "protocol/Address.h"
#include "roomfile/RoomFileFields.h"
#include "speaker/SpeakerEditing.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <limits>

namespace arx {

namespace {

using Json = nlohmann::ordered_json;

constexpr int MicEqShapeCount = 3;
// A setting a unit keeps in a byte, as a signed or an unsigned one.
constexpr std::int64_t ByteMin = -0x80;
constexpr std::int64_t ByteMax = 0xFF;
constexpr std::int64_t WordMax = 0xFFFF;
// The Q code goes out as Q x 100 in a 16-bit word.
constexpr std::int64_t MicEqQCodeMax = WordMax / 10;
constexpr std::size_t ShownValueLimit = 40;

// --- writing -------------------------------------------------------------------------------

Json codeJson(std::int64_t code)
{
    return Json { { "code", code } };
}

// A code on its scale as the number it stands for: whole or with its decimal.
Json scaledJson(int code, const CodeScale &scale)
{
    const long units = codeUnits(code, scale);
    if (scale.decimals == 0)
        return Json(units);
    return Json(static_cast<double>(units) / 10.0);
}

Json scaledOrCode(int code, const CodeScale &scale)
{
    return code >= scale.minimum && code <= scale.maximum ? scaledJson(code, scale)
                                                          : codeJson(code);
}

Json switchJson(std::int32_t value)
{
    return value == 0 || value == 1 ? Json(value == 1) : codeJson(value);
}

std::string hexOf(std::string_view bytes)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += Digits[byte >> 4];
        hex += Digits[byte & 0xF];
    }
    return hex;
}

void writeName(Json &object, std::string_view bytes)
{
    object["name"] = gbkToUtf8(bytes);
    object["name_gbk"] = hexOf(bytes);
}

Json unitValueJson(const UnitFileField &field, const DeviceRecord &record)
{
    switch (field.kind) {
    case UnitValueKind::Switch:
        return switchJson(record.*field.member);
    case UnitValueKind::Gain:
        return gainNamed(record) ? Json(settingValue(record, UnitSetting::Gain))
                                 : codeJson(record.gain);
    case UnitValueKind::Mode:
        return record.mode >= 0 && record.mode < ModeCount ? Json(ModeNames[record.mode])
                                                           : codeJson(record.mode);
    case UnitValueKind::Colour: {
        const std::int32_t code = record.*field.member;
        return colourNamed(record.type, code) ? Json(colourText(record.type, code))
                                              : codeJson(code);
    }
    case UnitValueKind::EqBand: {
        const MicEqBand &band = record.eqBands[field.band - 1];
        const bool shapeNamed = band.shape >= 0 && band.shape < MicEqShapeCount;
        return Json { { "frequency", scaledOrCode(band.frequency, EqFrequencyScale) },
            { "gain", scaledOrCode(band.gain, EqGainScale) },
            { "q", scaledOrCode(band.q, EqQScale) },
            { "shape", shapeNamed ? Json(shapeText(band.shape)) : codeJson(band.shape) },
            { "enabled", switchJson(band.enabled) } };
    }
    case UnitValueKind::EqLowCut:
        break;
    }
    return Json { { "frequency", scaledOrCode(record.eqLowCutFrequency, EqLowCutScale) },
        { "shape", record.eqLowCutShape } };
}

Json unitJson(const DeviceRecord &record)
{
    Json unit = Json::object();
    unit["number"] = record.unitNumber;
    writeName(unit, textOf(record.name));
    unit["address"] = std::string(textOf(record.ip));
    unit["family"] = unitFamilyName(record.type);
    unit["type"] = record.type;
    for (const UnitFileField &field : unitFileFields()) {
        if (unitHas(record, field.parameter))
            unit[field.key] = unitValueJson(field, record);
    }
    return unit;
}

Json processorJson(const RoomFileProcessor &processor)
{
    Json object = Json::object();
    object["address"] = processor.address;
    writeName(object, textOf(processor.setting.processorName));
    for (const ProcessorFileField &field : processorFileFields()) {
        const std::int32_t code = processorCode(processor.setting, field);
        switch (field.entry->kind) {
        case SpeakerParameterKind::Phase:
            object[field.key] = switchJson(code);
            break;
        case SpeakerParameterKind::CrossoverType:
            object[field.key] = processorFieldText(processor.setting, field);
            break;
        default:
            object[field.key] = scaledJson(code, processorScale(field));
            break;
        }
    }
    return object;
}

// --- reading -------------------------------------------------------------------------------

// The first offending field and why; thrown from deep inside the reader, caught at its top.
struct Refused {
    std::string problem;
};

[[noreturn]] void refuse(const std::string &path, const std::string &why)
{
    throw Refused { path + ": " + why };
}

std::string shown(const Json &value)
{
    std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    if (text.size() > ShownValueLimit)
        text = text.substr(0, ShownValueLimit) + "…";
    return text;
}

const Json &member(const Json &object, const std::string &path, const char *key)
{
    const auto found = object.find(key);
    if (found == object.end())
        refuse(path.empty() ? std::string(key) : path + "." + key, "missing");
    return *found;
}

const Json &objectAt(const Json &value, const std::string &path)
{
    if (!value.is_object())
        refuse(path, "an object {...} is expected, not " + shown(value));
    return value;
}

std::string stringAt(const Json &value, const std::string &path)
{
    if (!value.is_string())
        refuse(path, "a text is expected, not " + shown(value));
    return value.get<std::string>();
}

// A whole number; unsigned ones past the signed range are none.
std::optional<std::int64_t> integerOf(const Json &value)
{
    if (!value.is_number_integer()
        || (value.is_number_unsigned()
            && value.get<std::uint64_t>()
                > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())))
        return std::nullopt;
    return value.get<std::int64_t>();
}

std::optional<std::int64_t> codeForm(const Json &value)
{
    if (!value.is_object() || value.size() != 1 || !value.contains("code"))
        return std::nullopt;
    return integerOf(value["code"]);
}

std::int32_t codeWithin(
    std::int64_t code, std::int64_t low, std::int64_t high, const std::string &path)
{
    if (code < low || code > high)
        refuse(path,
            "code " + std::to_string(code) + " is outside " + std::to_string(low) + ".."
                + std::to_string(high));
    return static_cast<std::int32_t>(code);
}

std::string stepText(const CodeScale &scale)
{
    const int tenths = scale.decimals == 1 ? scale.divisor : scale.divisor * 10;
    return std::to_string(tenths / 10) + (tenths % 10 ? "." + std::to_string(tenths % 10) : "");
}

// A number on `scale`, as its code; the scale's own minimum and maximum are not looked at.
int scaledCode(const Json &value, const CodeScale &scale, const std::string &path)
{
    if (!value.is_number())
        refuse(path, "a number is expected, not " + shown(value));
    const double units = value.get<double>() * (scale.decimals == 1 ? 10.0 : 1.0);
    if (!std::isfinite(units) || std::fabs(units) > 1e8)
        refuse(path, shown(value) + " is out of range");
    const long rounded = std::lround(units);
    const std::optional<long> code = std::fabs(units - static_cast<double>(rounded)) < 1e-6
        ? codeOfUnits(rounded, scale)
        : std::nullopt;
    if (!code)
        refuse(path, shown(value) + " is not on the control's steps of " + stepText(scale));
    return static_cast<int>(*code);
}

void requireRange(int code, std::int32_t low, std::int32_t high, const CodeScale &scale,
    const Json &value, const std::string &path)
{
    if (code >= low && code <= high)
        return;
    std::string lowText = formatCode(low, scale);
    std::string highText = formatCode(high, scale);
    if (codeUnits(low, scale) > codeUnits(high, scale))
        std::swap(lowText, highText);
    refuse(path, shown(value) + " is outside " + lowText + ".." + highText);
}

// A number within the scale's own range, or a code within low..high.
std::int32_t scaledOrCodeAt(
    const Json &value, const CodeScale &scale, std::int64_t codeHigh, const std::string &path)
{
    if (const auto code = codeForm(value))
        return codeWithin(*code, 0, codeHigh, path);
    const int code = scaledCode(value, scale, path);
    requireRange(code, scale.minimum, scale.maximum, scale, value, path);
    return code;
}

std::int32_t switchAt(
    const Json &value, std::int64_t codeLow, std::int64_t codeHigh, const std::string &path)
{
    if (value.is_boolean())
        return value.get<bool>() ? 1 : 0;
    if (const auto code = codeForm(value))
        return codeWithin(*code, codeLow, codeHigh, path);
    refuse(path, "true, false or {\"code\": n} is expected, not " + shown(value));
}

// A text among `names` (any case), as its index.
std::optional<int> nameIndex(const Json &value, std::span<const char *const> names)
{
    if (!value.is_string())
        return std::nullopt;
    const std::string wanted = upperCased(value.get<std::string>());
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (upperCased(names[index]) == wanted)
            return static_cast<int>(index);
    }
    return std::nullopt;
}

std::string listed(std::span<const char *const> names)
{
    std::string text;
    for (const char *name : names)
        text += (text.empty() ? "" : ", ") + std::string(name);
    return text;
}

std::optional<std::string> fromHex(const std::string &hex)
{
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::string bytes;
    for (std::size_t at = 0; at < hex.size(); at += 2) {
        int value = 0;
        for (const char c : { hex[at], hex[at + 1] }) {
            const int digit = c >= '0' && c <= '9' ? c - '0'
                : c >= 'a' && c <= 'f'             ? c - 'a' + 10
                : c >= 'A' && c <= 'F'             ? c - 'A' + 10
                                                   : -1;
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + digit;
        }
        bytes += static_cast<char>(value);
    }
    return bytes;
}

// The name's bytes: name_gbk when given (and the text must be its text), else the text as GBK.
std::string nameAt(const Json &object, const std::string &path, std::size_t byteLimit)
{
    const std::string text = stringAt(member(object, path, "name"), path + ".name");
    std::string bytes;
    if (const auto hex = object.find("name_gbk"); hex != object.end()) {
        const std::optional<std::string> decoded = fromHex(stringAt(*hex, path + ".name_gbk"));
        if (!decoded)
            refuse(path + ".name_gbk", "pairs of hex digits are expected");
        bytes = *decoded;
        if (gbkToUtf8(bytes) != text)
            refuse(path + ".name", shown(Json(text)) + " is not the text of name_gbk");
    } else {
        bool exact = false;
        bytes = utf8ToGbk(text, &exact);
        if (!exact)
            refuse(path + ".name", "it has characters GBK cannot hold");
    }
    if (bytes.find('\0') != std::string::npos)
        refuse(path + ".name", "a name holds no NUL byte");
    if (bytes.size() > byteLimit)
        refuse(path + ".name", "it is longer than " + std::to_string(byteLimit) + " bytes in GBK");
    return bytes;
}

std::int32_t wholeNumberAt(
    const Json &value, std::int64_t low, std::int64_t high, const std::string &path)
{
    const std::optional<std::int64_t> number = integerOf(value);
    if (!number || *number < low || *number > high)
        refuse(path,
            "a whole number from " + std::to_string(low) + " to " + std::to_string(high)
                + " is expected, not " + shown(value));
    return static_cast<std::int32_t>(*number);
}

std::int32_t gainAt(const Json &value, std::int32_t type, const std::string &path)
{
    if (const auto code = codeForm(value))
        return codeWithin(*code, ByteMin, ByteMax, path);
    if (!value.is_number())
        refuse(path, "a gain in dB or {\"code\": n} is expected, not " + shown(value));
    const double db = value.get<double>();
    const std::optional<int> index = db == std::floor(db) && std::fabs(db) < 1000
        ? gainListIndexOf(type, static_cast<int>(db))
        : std::nullopt;
    if (!index)
        refuse(path,
            shown(value) + " dB is not on the gain list of " + unitFamilyName(type) + " units ("
                + listed(gainListFor(type)) + ")");
    return type == UnitTypePxl2 ? 3 * *index : *index;
}

std::int32_t colourAt(const Json &value, std::int32_t type, const std::string &path)
{
    const bool wide = type == UnitTypePxl2;
    // Any word: a unit that announced itself as PXL2 and then as another family keeps the 24-bit
    // colours until it announces its own.
    if (const auto code = codeForm(value))
        return codeWithin(*code, std::numeric_limits<std::int32_t>::min(),
            std::numeric_limits<std::int32_t>::max(), path);
    const std::optional<std::uint32_t> colour
        = value.is_string() ? parseColour(value.get<std::string>()) : std::nullopt;
    if (!colour)
        refuse(path, "a colour name, #RRGGBB or {\"code\": n} is expected, not " + shown(value));
    if (wide)
        return static_cast<std::int32_t>(*colour);
    for (std::size_t index = 0; index < std::size(colourIndexTable); ++index) {
        if (wideColour(colourIndexTable[index]) == *colour)
            return static_cast<std::int32_t>(index);
    }
    refuse(path,
        shown(value) + " is not one of the eight colours of " + unitFamilyName(type) + " units");
}

void readEqBand(const Json &value, MicEqBand &band, const std::string &path)
{
    objectAt(value, path);
    band.frequency = scaledOrCodeAt(
        member(value, path, "frequency"), EqFrequencyScale, WordMax, path + ".frequency");
    band.gain = scaledOrCodeAt(member(value, path, "gain"), EqGainScale, WordMax, path + ".gain");
    band.q = scaledOrCodeAt(member(value, path, "q"), EqQScale, MicEqQCodeMax, path + ".q");
    const Json &shape = member(value, path, "shape");
    if (const auto code = codeForm(shape)) {
        band.shape = codeWithin(*code, ByteMin, ByteMax, path + ".shape");
    } else {
        static constexpr const char *Shapes[] = { "peaking", "low shelf", "high shelf" };
        const std::optional<int> index = nameIndex(shape, Shapes);
        if (!index)
            refuse(path + ".shape", shown(shape) + " is not one of " + listed(Shapes));
        band.shape = *index;
    }
    band.enabled = switchAt(member(value, path, "enabled"), ByteMin, ByteMax, path + ".enabled");
}

void readUnitValue(
    const UnitFileField &field, const Json &value, DeviceRecord &record, const std::string &path)
{
    switch (field.kind) {
    case UnitValueKind::Switch:
        record.*field.member = switchAt(value, ByteMin, ByteMax, path);
        return;
    case UnitValueKind::Gain:
        record.gain = gainAt(value, record.type, path);
        return;
    case UnitValueKind::Mode:
        if (const auto code = codeForm(value)) {
            record.mode = codeWithin(*code, ByteMin, ByteMax, path);
        } else if (const auto index = nameIndex(value, ModeNames)) {
            record.mode = *index;
        } else {
            refuse(path, shown(value) + " is not one of " + listed(ModeNames));
        }
        return;
    case UnitValueKind::Colour:
        record.*field.member = colourAt(value, record.type, path);
        return;
    case UnitValueKind::EqBand:
        readEqBand(value, record.eqBands[field.band - 1], path);
        return;
    case UnitValueKind::EqLowCut:
        break;
    }
    objectAt(value, path);
    record.eqLowCutFrequency = scaledOrCodeAt(
        member(value, path, "frequency"), EqLowCutScale, WordMax, path + ".frequency");
    record.eqLowCutShape = wholeNumberAt(member(value, path, "shape"), 0, WordMax, path + ".shape");
}

DeviceRecord readUnit(const Json &value, const std::string &path)
{
    objectAt(value, path);
    DeviceRecord record;
    record.unitNumber
        = wholeNumberAt(member(value, path, "number"), 1, UnitSlotCount, path + ".number");
    record.type = wholeNumberAt(
        member(value, path, "type"), UnitTypeArn1, UnitTypeVelKShort, path + ".type");
    if (const auto family = value.find("family");
        family != value.end() && stringAt(*family, path + ".family") != unitFamilyName(record.type))
        refuse(path + ".family",
            shown(*family) + " is not the family of type " + std::to_string(record.type) + " ("
                + unitFamilyName(record.type) + ")");
    setText(record.name, nameAt(value, path, DeviceTextWidth - 1));
    const std::string address = stringAt(member(value, path, "address"), path + ".address");
    if (!isDottedIPv4(address))
        refuse(path + ".address", shown(Json(address)) + " is not an IPv4 address");
    setText(record.ip, address);

    for (const UnitFileField &field : unitFileFields()) {
        const std::string fieldPath = path + "." + field.key;
        const auto found = value.find(field.key);
        if (!unitHas(record, field.parameter)) {
            if (found != value.end())
                refuse(fieldPath,
                    "units of type " + std::to_string(record.type) + " ("
                        + unitFamilyName(record.type) + ") have no such control");
            continue;
        }
        if (found == value.end())
            refuse(fieldPath, "missing");
        readUnitValue(field, *found, record, fieldPath);
    }
    // The equaliser's low cut follows the strip's, as on the unit.
    if (record.type == UnitTypePxl2)
        record.eqLowCutOn = record.lowCut;
    return record;
}

RoomFileProcessor readProcessor(const Json &value, const std::string &path)
{
    objectAt(value, path);
    Store start;
    SetDefaults(start);
    RoomFileProcessor processor { .address = {}, .setting = start.speaker };
    processor.address = stringAt(member(value, path, "address"), path + ".address");
    if (!processor.address.empty() && !isDottedIPv4(processor.address))
        refuse(path + ".address", shown(Json(processor.address)) + " is not an IPv4 address");
    setText(processor.setting.processorName, nameAt(value, path, ProcessorNameFileBytes));

    for (const ProcessorFileField &field : processorFileFields()) {
        const std::string fieldPath = path + "." + field.key;
        const Json &entry = member(value, path, field.key.c_str());
        std::int32_t &code = processorCode(processor.setting, field);
        switch (field.entry->kind) {
        case SpeakerParameterKind::Phase:
            code = switchAt(entry, std::numeric_limits<std::int32_t>::min(),
                std::numeric_limits<std::int32_t>::max(), fieldPath);
            break;
        case SpeakerParameterKind::CrossoverType: {
            const std::optional<int> index = nameIndex(entry, filterTypeNames);
            if (!index)
                refuse(fieldPath, shown(entry) + " is not one of " + listed(filterTypeNames));
            code = *index;
            break;
        }
        default: {
            const CodeScale scale = processorScale(field);
            code = scaledCode(entry, scale, fieldPath);
            if (const std::optional<PresetRange> range = processorRange(field))
                requireRange(code, range->min, range->max, scale, entry, fieldPath);
            break;
        }
        }
    }
    return processor;
}

RoomFile readTop(const Json &top)
{
    if (!top.is_object())
        refuse("the file", "it is not an ARX room file (no object at its top)");
    const auto format = top.find("format");
    if (format == top.end() || *format != RoomFileFormat)
        refuse("format",
            std::string("it is not an ARX room file (\"format\" is not \"") + RoomFileFormat
                + "\")");
    const Json &version = member(top, "", "version");
    if (!version.is_number_integer() || version.get<std::int64_t>() != RoomFileVersion)
        refuse("version",
            shown(version) + " is a version this ARX does not read; it reads version "
                + std::to_string(RoomFileVersion));

    RoomFile file;
    if (const auto saved = top.find("saved"); saved != top.end())
        file.saved = stringAt(*saved, "saved");
    if (const auto by = top.find("saved_by"); by != top.end())
        file.savedBy = stringAt(*by, "saved_by");
    const Json &units = member(top, "", "units");
    if (!units.is_array())
        refuse("units", "a list [...] is expected, not " + shown(units));
    if (units.size() > static_cast<std::size_t>(UnitSlotCount))
        refuse("units", "a room holds at most " + std::to_string(UnitSlotCount) + " units");
    for (std::size_t index = 0; index < units.size(); ++index)
        file.units.push_back(readUnit(units[index], "units[" + std::to_string(index) + "]"));
    if (const auto processor = top.find("processor");
        processor != top.end() && !processor->is_null())
        file.processor = readProcessor(*processor, "processor");
    return file;
}

} // namespace

std::string roomFileText(const RoomFile &file)
{
    Json top = Json::object();
    top["format"] = RoomFileFormat;
    top["version"] = RoomFileVersion;
    top["saved"] = file.saved;
    top["saved_by"] = file.savedBy;
    Json units = Json::array();
    for (const DeviceRecord &unit : file.units)
        units.push_back(unitJson(unit));
    top["units"] = std::move(units);
    if (file.processor)
        top["processor"] = processorJson(*file.processor);
    return top.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

RoomFileRead readRoomFile(std::string_view text)
{
    try {
        const Json top = Json::parse(text.begin(), text.end());
        return { .file = readTop(top), .problem = {} };
    } catch (const Refused &refused) {
        return { .file = std::nullopt, .problem = refused.problem };
    } catch (const Json::parse_error &error) {
        std::string what = error.what();
        if (const std::size_t at = what.find("parse error"); at != std::string::npos)
            what = what.substr(at);
        return { .file = std::nullopt, .problem = "it is not JSON: " + what };
    } catch (const Json::exception &error) {
        return { .file = std::nullopt,
            .problem = std::string("it cannot be read: ") + error.what() };
    }
}

} // namespace arx
