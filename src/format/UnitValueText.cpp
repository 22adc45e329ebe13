#include "format/UnitValueText.h"

#include "model/DeviceRecord.h"

#include <cstdarg>
#include <cstdio>

namespace arx {

namespace {

std::string printf(const char *format, ...) __attribute__((format(printf, 1, 2)));
std::string printf(const char *format, ...)
{
    char text[64];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

constexpr int MicEqGainZero = 300;

} // namespace

std::string onOff(int value)
{
    return value == 0 ? "off" : value == 1 ? "on" : std::to_string(value);
}

std::string signedDb(int db)
{
    return db > 0 ? printf("+%ddB", db) : printf("%ddB", db);
}

std::string tenthsDb(int tenths)
{
    const char *sign = tenths > 0 ? "+" : tenths < 0 ? "-" : "";
    const int magnitude = tenths < 0 ? -tenths : tenths;
    return printf("%s%d.%d dB", sign, magnitude / 10, magnitude % 10);
}

std::string qText(int code, int scale)
{
    if (scale == 100 && code % 10 != 0)
        return printf("%d.%02d", code / 100, code % 100);
    const int tenths = scale == 100 ? code / 10 : code;
    return printf("%d.%d", tenths / 10, tenths % 10);
}

std::string gainText(std::int32_t unitType, int code)
{
    switch (unitType) {
    case UnitTypeArn1:
    case UnitTypeArn1Short:
        return signedDb(3 * code);
    case UnitTypeVelK:
    case UnitTypeVelKShort:
        return signedDb(3 * code - 6);
    case UnitTypePxl2:
        return signedDb(code);
    default:
        return printf("code %d", code);
    }
}

std::string modeText(int code)
{
    constexpr const char *Modes[] = { "OFF", "ON", "PTT", "PTM" };
    return code >= 0 && code < 4 ? Modes[code] : std::to_string(code);
}

std::string colourIndexText(int code)
{
    constexpr const char *Colours[]
        = { "black", "red", "green", "yellow", "blue", "magenta", "cyan", "light blue" };
    return code >= 0 && code < 8 ? Colours[code] : printf("colour %d", code);
}

std::string colourRgbText(int value)
{
    return printf("#%02X%02X%02X", value & 0xFF, value >> 8 & 0xFF, value >> 16 & 0xFF);
}

std::string shapeText(int shape)
{
    constexpr const char *Shapes[] = { "peaking", "low shelf", "high shelf" };
    return shape >= 0 && shape < 3 ? Shapes[shape] : printf("shape %d", shape);
}

std::string micEqGainText(int code)
{
    return tenthsDb(code - MicEqGainZero);
}

} // namespace arx
