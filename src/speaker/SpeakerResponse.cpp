#include "speaker/SpeakerResponse.h"

#include "dsp/CoefficientDesigns.h"
#include "speaker/SpeakerSetting.h"

#include <array>
#include <cmath>
#include <numbers>
#include <optional>

namespace arx {

namespace {

// cos and sin of each grid frequency's angle at the device rate, computed once.
struct DeviceGridAngles {
    std::array<double, GridPointCount> cosines {};
    std::array<double, GridPointCount> sines {};

    DeviceGridAngles()
    {
        for (std::size_t k = 0; k < GridPointCount; ++k) {
            const double theta = 2.0 * std::numbers::pi * FrequencyGrid[k] / DEVICE_RATE;
            cosines[k] = std::cos(theta);
            sines[k] = std::sin(theta);
        }
    }
};

void add(const Biquad &section, ResponseCurve &curve)
{
    static const DeviceGridAngles angles;
    for (std::size_t k = 0; k < GridPointCount; ++k)
        curve[k] += section.magnitudeDbAt(angles.cosines[k], angles.sines[k]);
}

} // namespace

void channelResponse(const SpeakerChannel &stored, ResponseCurve &curve)
{
    SpeakerChannel channel = stored;
    limitVariableCrossoverQ(channel);
    curve.fill(0.0);
    for (const SpeakerBand &band : channel.bands)
        add(speakerPeakingCoefficients(band.frequency, band.gain, band.q), curve);
    if (const std::optional<Biquad> highPass
        = crossoverHighPassCoefficients(channel.hpType, channel.hpFrequency, channel.hpQ))
        add(*highPass, curve);
    if (const std::optional<Biquad> lowPass
        = crossoverLowPassCoefficients(channel.lpType, channel.lpFrequency, channel.lpQ))
        add(*lowPass, curve);
}

double ResponseAxes::x(double f) const
{
    return width * std::log(f / LowestFrequency) / std::log(HighestFrequency / LowestFrequency);
}

double ResponseAxes::frequency(double px) const
{
    return LowestFrequency * std::pow(HighestFrequency / LowestFrequency, px / width);
}

double ResponseAxes::y(double decibels) const
{
    return height * (topDb - decibels) / (topDb - bottomDb);
}

double ResponseAxes::db(double py) const
{
    return topDb - py * (topDb - bottomDb) / height;
}

} // namespace arx
