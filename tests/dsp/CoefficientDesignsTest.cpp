#include "dsp/CoefficientDesigns.h"

#include "ComplexResponse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

namespace arx {
namespace {

// |H(e^jw)| in dB at the devices' rate.
double magnitudeDb(const Biquad &section, double frequency)
{
    return test::complexMagnitudeDb(section, frequency, DEVICE_RATE);
}

constexpr double HalfPowerDb = -3.0103;

TEST(MicPeakingCoefficients, ReachTheBandGainAtTheCentreAndUnityFarAway)
{
    struct Row {
        double frequency;
        int gainCode;
        int qCode;
    };
    const Row rows[] = { { 1000, 420, 20 }, { 1000, 180, 20 }, { 100, 450, 10 }, { 5000, 150, 50 },
        { 250, 330, 200 } };
    for (const Row &row : rows) {
        const Biquad section = micPeakingCoefficients(row.frequency, row.gainCode, row.qCode);
        const double gainDb = (row.gainCode - 300) / 10.0;
        EXPECT_NEAR(magnitudeDb(section, row.frequency), gainDb, 1e-9)
            << row.frequency << " Hz, gain code " << row.gainCode;
        EXPECT_NEAR(magnitudeDb(section, 0.0), 0.0, 1e-9) << "DC, " << row.frequency << " Hz";
        EXPECT_NEAR(magnitudeDb(section, 24000.0), 0.0, 1e-6) << "Nyquist, " << row.frequency;
    }
}

TEST(MicPeakingCoefficients, BoostAndCutOfTheSameSizeCancel)
{
    const Biquad boost = micPeakingCoefficients(800, 390, 30);
    const Biquad cut = micPeakingCoefficients(800, 210, 30);
    for (double frequency : { 100.0, 600.0, 800.0, 1200.0, 9000.0 })
        EXPECT_NEAR(magnitudeDb(boost, frequency) + magnitudeDb(cut, frequency), 0.0, 1e-9)
            << frequency << " Hz";
}

TEST(MicPeakingCoefficients, ZeroGainPassesTheSignalUnchanged)
{
    for (double frequency : { 20.0, 1000.0, 20000.0 }) {
        for (int qCode : { 1, 20, 1000 }) {
            const Biquad section = micPeakingCoefficients(frequency, 300, qCode);
            EXPECT_DOUBLE_EQ(section.b0, 1.0) << frequency << " Hz, Q code " << qCode;
            EXPECT_EQ(section.b1, section.a1) << frequency << " Hz, Q code " << qCode;
            EXPECT_EQ(section.b2, section.a2) << frequency << " Hz, Q code " << qCode;
        }
    }
}

TEST(MicPeakingCoefficients, FollowTheAnalogBandWithQAHundredthOfTheCode)
{
    // The bilinear transform maps f to the analog frequency tan(pi f / 48000) / tan(pi f0 /
    // 48000), where the analog peaking band (s^2 + s V/Q + 1) / (s^2 + s/Q + 1) (or its
    // inverse for a cut) is evaluated.
    const double f0 = 1000;
    for (int gainCode : { 420, 180 }) {
        for (int qCode : { 20, 200 }) {
            const Biquad section = micPeakingCoefficients(f0, gainCode, qCode);
            const double Q = qCode / 100.0;
            const double V = std::pow(10.0, std::abs(gainCode - 300) / 200.0);
            for (double f : { 250.0, 700.0, 2000.0, 8000.0 }) {
                const std::complex<double> s(0.0,
                    std::tan(std::numbers::pi * f / 48000)
                        / std::tan(std::numbers::pi * f0 / 48000));
                std::complex<double> analog = (s * s + s * V / Q + 1.0) / (s * s + s / Q + 1.0);
                if (gainCode < 300)
                    analog = 1.0 / analog;
                EXPECT_NEAR(magnitudeDb(section, f), 20 * std::log10(std::abs(analog)), 1e-9)
                    << "gain code " << gainCode << ", Q code " << qCode << ", " << f << " Hz";
            }
        }
    }
}

TEST(MicLowCutCoefficients, AreASecondOrderButterworthHighPass)
{
    for (double frequency : { 20.0, 80.0, 200.0 }) {
        const Biquad section = micLowCutCoefficients(frequency);
        EXPECT_NEAR(magnitudeDb(section, frequency), 20 * std::log10(0.707), 1e-6)
            << frequency << " Hz corner";
        EXPECT_NEAR(magnitudeDb(section, 10000), 0.0, 0.01) << frequency << " Hz, pass band";
        EXPECT_NEAR(
            magnitudeDb(section, frequency / 2) - magnitudeDb(section, frequency / 4), 12.0, 0.5)
            << frequency << " Hz, 12 dB per octave below";
    }
}

TEST(SpeakerPeakingCoefficients, ReachTheBandGainAtTheCentre)
{
    // gain code / 10 - 18 dB; the corner is tan(pi f / 48000) with pi to 7 digits.
    const std::pair<int, double> rows[]
        = { { 180, 0.0 }, { 300, 12.0 }, { 240, 6.0 }, { 0, -18.0 } };
    for (const auto &[gainCode, gainDb] : rows) {
        const Biquad section = speakerPeakingCoefficients(3000, gainCode, 20);
        EXPECT_NEAR(magnitudeDb(section, 3000), gainDb, 1e-4) << "gain code " << gainCode;
        EXPECT_NEAR(magnitudeDb(section, 0), 0.0, 1e-9) << "gain code " << gainCode;
    }
}

TEST(CrossoverCoefficients, HaveTheirTypesLevelAtTheCorner)
{
    // A second-order section designed with Q is Q in magnitude at its corner; Linkwitz is two
    // first-order sections, -6 dB.
    struct Row {
        int type;
        int qCode;
        double cornerDb;
    };
    const Row rows[] = {
        { CrossoverButterworth1, 0, HalfPowerDb },
        { CrossoverButterworth2, 0, 20 * std::log10(0.707) },
        { CrossoverBessel2, 0, 20 * std::log10(0.58) },
        { CrossoverLinkwitz2, 0, 2 * HalfPowerDb },
        { CrossoverVariable, 7, 20 * std::log10(0.7) }, // Q code 7 is Q 0.7
        { CrossoverVariable, 30, 20 * std::log10(3.0) },
    };
    for (const Row &row : rows) {
        for (double corner : { 80.0, 1000.0, 12000.0 }) {
            const Biquad highPass = *crossoverHighPassCoefficients(row.type, corner, row.qCode);
            const Biquad lowPass = *crossoverLowPassCoefficients(row.type, corner, row.qCode);
            EXPECT_NEAR(magnitudeDb(highPass, corner), row.cornerDb, 1e-4)
                << "high-pass type " << row.type << " at " << corner;
            EXPECT_NEAR(magnitudeDb(lowPass, corner), row.cornerDb, 1e-4)
                << "low-pass type " << row.type << " at " << corner;
            EXPECT_NEAR(magnitudeDb(highPass, 23999), 0.0, 1e-3)
                << "high-pass type " << row.type << " near Nyquist";
            EXPECT_NEAR(magnitudeDb(lowPass, 0), 0.0, 1e-9)
                << "low-pass type " << row.type << " at DC";
        }
    }
}

TEST(CrossoverCoefficients, FirstOrderTypeHasNoSecondOrderTerms)
{
    const Biquad highPass = *crossoverHighPassCoefficients(CrossoverButterworth1, 500, 0);
    EXPECT_EQ(highPass.b2, 0.0);
    EXPECT_EQ(highPass.a2, 0.0);
    EXPECT_NEAR(magnitudeDb(highPass, 125) - magnitudeDb(highPass, 62.5), 6.0, 0.2)
        << "6 dB per octave";
}

TEST(CrossoverCoefficients, UnknownTypeHasNoDesign)
{
    EXPECT_FALSE(crossoverHighPassCoefficients(5, 1000, 10).has_value());
    EXPECT_FALSE(crossoverLowPassCoefficients(-1, 1000, 10).has_value());
}

TEST(DynamicsCoefficients, FollowTheTimeConstantsThresholdAndRatio)
{
    const double e = std::exp(1.0);
    const DynamicsCoefficients defaults = dynamicsCoefficients(0, 1, 1, 10, e);
    EXPECT_NEAR(defaults.average, 1 - std::exp(-1.0 / 96), 1e-15);
    // 1 ms at 96 kHz is 96 samples: the attack factor equals the fixed averaging factor.
    EXPECT_NEAR(defaults.attack, defaults.average, 1e-15);
    EXPECT_NEAR(defaults.release, defaults.average, 1e-15);
    EXPECT_NEAR(defaults.threshold, -24 / 6.0206, 1e-12) << "threshold 0 dB";
    EXPECT_EQ(defaults.slope, 0.0) << "ratio 1:1 does not compress";

    const DynamicsCoefficients limiter = dynamicsCoefficients(60, 100, 50, 2000, e);
    EXPECT_NEAR(limiter.attack, 1 - std::exp(-1.0 / 9600), 1e-15) << "100 ms";
    EXPECT_NEAR(limiter.release, 1 - std::exp(-1.0 / 4800), 1e-15) << "50 ms";
    EXPECT_NEAR(limiter.threshold, -84 / 6.0206, 1e-12) << "threshold -60 dB";
    EXPECT_NEAR(limiter.slope, 1 / 200.0 - 1, 1e-15) << "ratio 1:200";
    EXPECT_NEAR(dynamicsCoefficients(0, 1, 1, 15, e).slope, 1 / 1.5 - 1, 1e-15) << "ratio 1:1.5";
}

} // namespace
} // namespace arx
