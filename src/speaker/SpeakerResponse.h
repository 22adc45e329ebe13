#pragma once

#include "model/SpeakerStore.h"

#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace arx {

// What a processor channel does to the signal at each of `frequencies` (Hz): the seven band
// sections and the two crossover sections exactly as they are designed for sending (at the
// device rate of 48 kHz), summed in dB into `decibels`, one value per frequency. The Variable
// crossover's Q rule is applied to a copy, so that the curve is the one the processor gets.
// A crossover type without a design adds nothing. Allocates nothing.
void channelResponse(
    const SpeakerChannel &channel, std::span<const double> frequencies, std::span<double> decibels);

// The response view's axes: frequency on a log scale from 20 Hz to 20 kHz across `width`
// pixels, dB linear from `topDb` at y 0 to `bottomDb` at `height`. Forward and inverse pairs.
struct ResponseAxes {
    double width;
    double height;
    double topDb;
    double bottomDb;

    static constexpr double LowestFrequency = 20.0;
    static constexpr double HighestFrequency = 20000.0;

    double x(double frequency) const;
    double frequency(double x) const;
    double y(double db) const;
    double db(double y) const;
};

// Where the response view evaluates both channels: at the frequency of every pixel column of
// the axes, and at the centre of every band of either channel, in ascending order. A band's
// extreme lies at its centre, and a cut is narrower than a boost of the same Q, so between
// columns a narrow cut would be drawn too shallow (on the 241-point display grid a -18 dB cut
// of Q 10 at 40 Hz showed -11.4 dB). setAxes sizes the buffers; compute allocates nothing.
class SpeakerResponsePoints {
public:
    static constexpr std::size_t CentreCount = SpeakerChannelCount * SpeakerBandCount;

    SpeakerResponsePoints();
    void setAxes(const ResponseAxes &axes);
    void compute(const SpeakerStore &speaker);

    std::span<const double> frequencies() const { return frequencies_; }
    std::span<const double> decibels(int channel) const
    {
        return decibels_.at(static_cast<std::size_t>(channel));
    }

private:
    std::vector<double> columnFrequencies_;
    std::vector<double> frequencies_; // the columns' and the band centres', merged
    std::array<std::vector<double>, SpeakerChannelCount> decibels_;
};

} // namespace arx
