#include "speaker/SpeakerResponse.h"

#include "dsp/CoefficientDesigns.h"
#include "speaker/SpeakerSetting.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

namespace arx {

void channelResponse(
    const SpeakerChannel &stored, std::span<const double> frequencies, std::span<double> decibels)
{
    SpeakerChannel channel = stored;
    limitVariableCrossoverQ(channel);
    std::array<Biquad, SpeakerBandCount + 2> sections;
    std::size_t count = 0;
    for (const SpeakerBand &band : channel.bands)
        sections[count++] = speakerPeakingCoefficients(band.frequency, band.gain, band.q);
    if (const std::optional<Biquad> highPass
        = crossoverHighPassCoefficients(channel.hpType, channel.hpFrequency, channel.hpQ))
        sections[count++] = *highPass;
    if (const std::optional<Biquad> lowPass
        = crossoverLowPassCoefficients(channel.lpType, channel.lpFrequency, channel.lpQ))
        sections[count++] = *lowPass;

    const std::size_t points = std::min(frequencies.size(), decibels.size());
    for (std::size_t i = 0; i < points; ++i) {
        const double theta = 2.0 * std::numbers::pi * frequencies[i] / DEVICE_RATE;
        const double cosTheta = std::cos(theta);
        const double sinTheta = std::sin(theta);
        double sum = 0.0;
        for (std::size_t k = 0; k < count; ++k)
            sum += sections[k].magnitudeDbAt(cosTheta, sinTheta);
        decibels[i] = sum;
    }
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

SpeakerResponsePoints::SpeakerResponsePoints()
{
    setAxes({}); // no columns until the view has a size: the centres alone
}

void SpeakerResponsePoints::setAxes(const ResponseAxes &axes)
{
    const std::size_t columns = axes.width > 0 ? static_cast<std::size_t>(axes.width) + 1 : 0;
    columnFrequencies_.resize(columns);
    for (std::size_t x = 0; x < columns; ++x)
        columnFrequencies_[x] = axes.frequency(static_cast<double>(x));
    frequencies_.resize(columns + CentreCount);
    for (std::vector<double> &values : decibels_)
        values.resize(frequencies_.size());
}

void SpeakerResponsePoints::compute(const SpeakerStore &speaker)
{
    std::array<double, CentreCount> centres;
    std::size_t next = 0;
    for (const SpeakerChannel &channel : speaker.channels) {
        for (const SpeakerBand &band : channel.bands)
            centres[next++] = std::clamp(static_cast<double>(band.frequency),
                ResponseAxes::LowestFrequency, ResponseAxes::HighestFrequency);
    }
    std::sort(centres.begin(), centres.end());
    std::merge(columnFrequencies_.begin(), columnFrequencies_.end(), centres.begin(), centres.end(),
        frequencies_.begin());
    for (std::size_t channel = 0; channel < decibels_.size(); ++channel)
        channelResponse(speaker.channels[channel], frequencies_, decibels_[channel]);
}

} // namespace arx
