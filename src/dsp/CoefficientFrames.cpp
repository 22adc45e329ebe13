#include "dsp/CoefficientFrames.h"

#include "dsp/CoefficientDesigns.h"
#include "dsp/FixedPoint.h"

#include <cstddef>
#include <span>

namespace arx {

namespace {

constexpr std::uint8_t ProcessorStart0 = 0xAA;
constexpr std::uint8_t ProcessorStart1 = 0x55;
constexpr std::uint8_t ProcessorEnd = 0xA5;
// The low cut's frame always carries shape byte 1 and the Q word 200.
constexpr std::uint8_t LowCutShapeByte = 1;
constexpr std::int32_t LowCutQWord = 200;

// Writes bytes one after another into a frame, which is zero-filled to start with.
class FrameWriter {
public:
    explicit FrameWriter(std::span<std::uint8_t> frame)
        : frame(frame)
    {
    }

    void byte(std::int32_t value) { frame[position++] = static_cast<std::uint8_t>(value); }

    // The low 16 bits, most significant first.
    void word16(std::int32_t value)
    {
        byte(value >> 8);
        byte(value);
    }

    template <std::size_t N> void bytes(const std::array<std::uint8_t, N> &encoded)
    {
        for (std::uint8_t b : encoded)
            byte(b);
    }

    // A processor frame's head: its length counts the command and the data.
    void processorHead(std::uint8_t command)
    {
        byte(ProcessorStart0);
        byte(ProcessorStart1);
        byte(static_cast<std::int32_t>(frame.size() - 4));
        byte(command);
    }

private:
    std::span<std::uint8_t> frame;
    std::size_t position = 0;
};

// The frames carry the feedback terms negated.
void writeMicCoefficients(FrameWriter &out, const Biquad &section)
{
    out.bytes(toFixed3_21(-section.a1));
    out.bytes(toFixed3_21(-section.a2));
    out.bytes(toFixed3_21(section.b0));
    out.bytes(toFixed3_21(section.b1));
    out.bytes(toFixed3_21(section.b2));
}

void writeProcessorCoefficients(FrameWriter &out, const Biquad &section, WordWidth width)
{
    out.bytes(toFixed5_23(section.b0, width));
    out.bytes(toFixed5_23(section.b1, width));
    out.bytes(toFixed5_23(section.b2, width));
    out.bytes(toFixed5_23(-section.a1, width));
    out.bytes(toFixed5_23(-section.a2, width));
}

std::optional<CrossoverFrame> buildCrossoverFrame(std::uint8_t command, int channelNumber,
    std::int32_t frequency, std::int32_t type, std::int32_t qCode,
    const std::optional<Biquad> &section, WordWidth width)
{
    if (!section)
        return std::nullopt;
    CrossoverFrame frame {};
    FrameWriter out(frame);
    out.processorHead(command);
    out.byte(channelNumber);
    out.word16(frequency);
    writeProcessorCoefficients(out, *section, width);
    out.byte(type);
    out.word16(qCode);
    out.byte(ProcessorEnd);
    return frame;
}

} // namespace

std::optional<MicEqFrame> buildMicEqFrame(const DeviceRecord &record, int band)
{
    if (band < 1 || band > MicLowCutBand)
        return std::nullopt;
    MicEqFrame frame {};
    FrameWriter out(frame);
    out.byte('%');
    out.byte('T');
    out.byte(band - 1);
    if (band == MicLowCutBand) {
        out.byte(record.eqLowCutOn);
        out.byte(LowCutShapeByte);
        out.word16(record.eqLowCutFrequency);
        out.word16(LowCutQWord);
        out.word16(record.eqLowCutShape);
        writeMicCoefficients(out, micLowCutCoefficients(record.eqLowCutFrequency));
    } else {
        const MicEqBand &settings = record.eqBands[band - 1];
        out.byte(settings.enabled);
        out.byte(settings.shape);
        out.word16(settings.frequency);
        out.word16(settings.q * 10); // Q x 100, the scale in which units report Q back
        out.word16(settings.gain);
        writeMicCoefficients(
            out, micPeakingCoefficients(settings.frequency, settings.gain, settings.q));
    }
    out.byte('#');
    return frame;
}

std::optional<SpeakerEqFrame> buildSpeakerEqFrame(
    const SpeakerChannel &channel, int channelNumber, int band)
{
    if (band < 1 || band > SpeakerBandCount)
        return std::nullopt;
    const SpeakerBand &settings = channel.bands[band - 1];
    SpeakerEqFrame frame {};
    FrameWriter out(frame);
    out.processorHead(SpeakerEqCommand);
    out.byte(channelNumber);
    out.byte(band);
    out.word16(settings.frequency);
    out.word16(settings.q);
    out.word16(settings.gain);
    writeProcessorCoefficients(out,
        speakerPeakingCoefficients(settings.frequency, settings.gain, settings.q),
        WordWidth::Bits28);
    out.byte(ProcessorEnd);
    return frame;
}

std::optional<CrossoverFrame> buildHighPassFrame(const SpeakerChannel &channel, int channelNumber)
{
    return buildCrossoverFrame(HighPassCommand, channelNumber, channel.hpFrequency, channel.hpType,
        channel.hpQ,
        crossoverHighPassCoefficients(channel.hpType, channel.hpFrequency, channel.hpQ),
        WordWidth::Bits32);
}

std::optional<CrossoverFrame> buildLowPassFrame(const SpeakerChannel &channel, int channelNumber)
{
    return buildCrossoverFrame(LowPassCommand, channelNumber, channel.lpFrequency, channel.lpType,
        channel.lpQ, crossoverLowPassCoefficients(channel.lpType, channel.lpFrequency, channel.lpQ),
        WordWidth::Bits28);
}

DynamicsFrame buildDynamicsFrame(
    const SpeakerChannel &channel, int channelNumber, double eulerConstant)
{
    const DynamicsCoefficients coefficients = dynamicsCoefficients(
        channel.threshold, channel.attack, channel.release, channel.ratio, eulerConstant);
    DynamicsFrame frame {};
    FrameWriter out(frame);
    out.processorHead(DynamicsCommand);
    out.byte(channelNumber);
    out.word16(channel.ratio);
    out.byte(channel.threshold);
    out.byte(channel.attack);
    out.byte(channel.release);
    out.bytes(toFixed5_23FromDouble(coefficients.average));
    out.bytes(toFixed5_23FromDouble(1.0 - coefficients.average));
    out.bytes(toFixed5_23(coefficients.attack, WordWidth::Bits32));
    out.bytes(toFixed5_23(1.0 - coefficients.attack, WordWidth::Bits32));
    out.bytes(toFixed5_23(coefficients.release, WordWidth::Bits32));
    out.bytes(toFixed5_23(1.0 - coefficients.release, WordWidth::Bits32));
    out.bytes(toFixed5_23(coefficients.threshold, WordWidth::Bits32));
    out.bytes(toFixed5_23(coefficients.slope, WordWidth::Bits32));
    // 2/31 in single precision: 00 08 42 10.
    out.bytes(toFixed5_23(2.0 / 31.0, WordWidth::Bits32));
    out.byte(ProcessorEnd);
    return frame;
}

} // namespace arx
