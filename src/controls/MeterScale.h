#pragma once

#include <optional>

namespace arx::meter {

// The scale of an LED level meter: how many LEDs a band has and where its zones start.
struct Scale {
    int ledsPerBand = 8;
    int lowLimit = 26; // values below this light low-zone (green) LEDs
    int mediumLimit = 30; // values below this light medium-zone (yellow) LEDs
    int rangeMax = 32; // full scale
};

enum class Led { Unlit, Low, Medium, High };

// LEDs actually drawn per band: a meter set to one LED or fewer shows a tenth of its range.
int ledCount(const Scale &scale);
// First LED of the medium zone and first LED of the high zone.
int firstMediumLed(const Scale &scale);
int firstHighLed(const Scale &scale);
// How many LEDs a value lights, from the bottom (or left).
int litCount(const Scale &scale, int value);
Led ledState(const Scale &scale, int value, int led);

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    int right() const { return x + width; } // exclusive
    int bottom() const { return y + height; } // exclusive
    bool operator==(const Rect &) const = default;
};

// A one-pixel line between two points, both inclusive.
struct Line {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const Line &) const = default;
};

enum class Direction { Vertical, Horizontal };

// Where every LED, grid tick and peak line of a meter lies in its client area. Painting
// draws exactly these shapes.
class Layout {
public:
    Layout(
        const Scale &scale, Direction direction, int bandCount, int clientWidth, int clientHeight);

    Rect led(int band, int led) const;
    // The grid tick of an LED, when it has one: it is drawn before the LED is filled, so
    // that only its ends show, one pixel into the gaps on either side.
    std::optional<Line> tick(int band, int led) const;
    // The peak mark of a band (vertical meters only).
    std::optional<Line> peakLine(int band, int peak) const;

private:
    Scale scale_;
    Direction direction_;
    int bandCount_;
    int leds_;
    int width_;
    int height_;
};

} // namespace arx::meter
