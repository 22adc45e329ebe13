#include "dsp/CoefficientDesigns.h"

#include <cmath>

namespace arx {

namespace {

constexpr double Pi = 3.141592653589793;
// The loudspeaker designs have always used pi and 2 pi to these digits.
constexpr double PiAsStoredForSpeaker = 3.1415926;
constexpr double TwoPiAsStoredForCrossover = 6.2831852;
constexpr double LowCutQ = 0.707;
// alpha = sin w / (2Q) with 2Q written out: Q 0.707 and Q 0.58.
constexpr double Butterworth2TwoQ = 1.414;
constexpr double Bessel2TwoQ = 1.16;
constexpr double Log2Step = 6.0206;

enum class Pass { Low, High };

// alpha = sin w / (2Q), with 2Q as stored for the fixed types and Q = code / 10 for Variable.
double secondOrderAlpha(int type, double s, int qCode)
{
    switch (type) {
    case CrossoverButterworth2:
        return s / Butterworth2TwoQ;
    case CrossoverBessel2:
        return s / Bessel2TwoQ;
    default: {
        const double Qv = qCode / 10.0;
        return s / (2.0 * Qv);
    }
    }
}

std::optional<Biquad> crossoverCoefficients(Pass pass, int type, double frequency, int qCode)
{
    const double w = frequency * TwoPiAsStoredForCrossover / DEVICE_RATE;
    const double s = std::sin(w);
    const double c = std::cos(w);

    switch (type) {
    case CrossoverButterworth1: {
        const double D = 1.0 + c + s;
        const double a1 = (s - c - 1.0) / D;
        if (pass == Pass::High)
            return Biquad { (1.0 + c) / D, -(1.0 + c) / D, 0.0, a1, 0.0 };
        return Biquad { s / D, s / D, 0.0, a1, 0.0 };
    }
    case CrossoverButterworth2:
    case CrossoverBessel2:
    case CrossoverVariable: {
        const double alpha = secondOrderAlpha(type, s, qCode);
        const double a0 = 1.0 + alpha;
        const double a1 = -2.0 * c / a0;
        const double a2 = (1.0 - alpha) / a0;
        if (pass == Pass::High)
            return Biquad { (1.0 + c) / 2.0 / a0, -(1.0 + c) / a0, (1.0 + c) / 2.0 / a0, a1, a2 };
        return Biquad { (1.0 - c) / 2.0 / a0, (1.0 - c) / a0, (1.0 - c) / 2.0 / a0, a1, a2 };
    }
    case CrossoverLinkwitz2: {
        // The first-order section squared.
        const double D = 1.0 + c + s;
        const double D2 = D * D;
        const double a1 = 2.0 * D * (s - c - 1.0) / D2;
        const double a2 = (s - c - 1.0) * (s - c - 1.0) / D2;
        if (pass == Pass::High) {
            const double b0 = (1.0 + c) * (1.0 + c) / D2;
            return Biquad { b0, -2.0 * (1.0 + c) * (1.0 + c) / D2, b0, a1, a2 };
        }
        const double b0 = s * s / D2;
        return Biquad { b0, 2.0 * s * s / D2, b0, a1, a2 };
    }
    default:
        return std::nullopt;
    }
}

} // namespace

Biquad micPeakingCoefficients(double frequency, int gainCode, int qCode)
{
    const double f = frequency;
    const double G = (gainCode - 300) / 10.0;
    // The design takes a bandwidth and turns it back into Q; the round trip is kept because
    // it can move the last bit of Q, and with it the bytes sent.
    const double B = f / (qCode / 100.0);
    const double Q = f / B;
    const double K = std::tan(Pi * f / DEVICE_RATE);
    const double V = std::pow(10.0, std::fabs(G) / 20.0);

    if (G >= 0.0) {
        const double n = 1.0 / (1.0 + K / Q + K * K);
        return { (1.0 + V * K / Q + K * K) * n, 2.0 * (K * K - 1.0) * n,
            (1.0 - V * K / Q + K * K) * n, 2.0 * (K * K - 1.0) * n, (1.0 - K / Q + K * K) * n };
    }
    const double n = 1.0 / (1.0 + V * K / Q + K * K);
    return { (1.0 + K / Q + K * K) * n, 2.0 * (K * K - 1.0) * n, (1.0 - K / Q + K * K) * n,
        2.0 * (K * K - 1.0) * n, (1.0 - V * K / Q + K * K) * n };
}

Biquad micLowCutCoefficients(double frequency)
{
    const double K = std::tan(Pi * frequency / DEVICE_RATE);
    const double n = 1.0 / (1.0 + K / LowCutQ + K * K);
    return { n, -2.0 * n, n, 2.0 * (K * K - 1.0) * n, (1.0 - K / LowCutQ + K * K) * n };
}

Biquad speakerPeakingCoefficients(double frequency, int gainCode, int qCode)
{
    const double f = frequency;
    const double G = gainCode / 10.0 - 18.0;
    const double Q = qCode / 10.0;
    const double K = std::tan(f * PiAsStoredForSpeaker * 2.0 / DEVICE_RATE * 0.5);
    const double V = std::pow(10.0, G / 20.0); // a cut keeps the boost formula with V < 1

    const double n = 1.0 / (1.0 + K / Q + K * K);
    const double b1 = 2.0 * (K * K - 1.0) * n;
    return { (1.0 + V * K / Q + K * K) * n, b1, (1.0 - V * K / Q + K * K) * n, b1,
        (1.0 - K / Q + K * K) * n };
}

std::optional<Biquad> crossoverHighPassCoefficients(int type, double frequency, int qCode)
{
    return crossoverCoefficients(Pass::High, type, frequency, qCode);
}

std::optional<Biquad> crossoverLowPassCoefficients(int type, double frequency, int qCode)
{
    return crossoverCoefficients(Pass::Low, type, frequency, qCode);
}

DynamicsCoefficients dynamicsCoefficients(
    int thresholdCode, int attackMs, int releaseMs, int ratioCode, double e)
{
    const double avg = 1.0 - std::pow(e, -1.0 / 96.0);
    const double att = 1.0 - std::pow(e, -1.0 / ((attackMs / 1000.0) * DynamicsRate));
    const double rel = 1.0 - std::pow(e, -1.0 / ((releaseMs / 1000.0) * DynamicsRate));
    const double thr = (24 + thresholdCode) / -Log2Step;
    const double slope = 1.0 / (ratioCode / 10.0) - 1.0;
    return { avg, att, rel, thr, slope };
}

} // namespace arx
