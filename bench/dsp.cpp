// The response plot's worst repaint (the curves of 20 bands on the 241-point grid, summed)
// and the cost of building each coefficient frame.
#include "BuildType.h"
#include "dsp/BandKinds.h"
#include "dsp/CoefficientDesigns.h"
#include "dsp/CoefficientFrames.h"
#include "dsp/ResponseCurves.h"
#include "model/Store.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace arx;

// 14 peaking bands, two shelves and the steepest high- and low-passes, twice each.
void CurvesOfTwentyBands(benchmark::State &state)
{
    ResponseCurve band;
    ResponseCurve total;
    for (auto _ : state) {
        total.fill(0.0);
        for (int i = 0; i < 20; ++i) {
            const double frequency = 40.0 * (i + 1) * (i + 1);
            switch (i % 10) {
            case 0:
                highPassResponse(6, frequency, band);
                break;
            case 1:
                lowPassResponse(6, frequency, band);
                break;
            case 2:
                shelfResponse(i < 10 ? EqShapeLowShelf : EqShapeHighShelf, frequency, 6.0, band);
                break;
            default:
                peakingResponse(frequency, 3.0 - i, 1.0 / (0.5 + i), band);
            }
            for (std::size_t k = 0; k < GridPointCount; ++k)
                total[k] += band[k];
        }
        benchmark::DoNotOptimize(total.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 20);
}
BENCHMARK(CurvesOfTwentyBands);

void PeakingCurve(benchmark::State &state)
{
    ResponseCurve curve;
    for (auto _ : state) {
        peakingResponse(1000, 6.0, 0.5, curve);
        benchmark::DoNotOptimize(curve.data());
    }
}
BENCHMARK(PeakingCurve);

void EighthOrderHighPassCurve(benchmark::State &state)
{
    ResponseCurve curve;
    for (auto _ : state) {
        highPassResponse(6, 100, curve);
        benchmark::DoNotOptimize(curve.data());
    }
}
BENCHMARK(EighthOrderHighPassCurve);

std::unique_ptr<Store> defaultStore()
{
    auto store = std::make_unique<Store>();
    SetDefaults(*store);
    store->eulerConstant = computeEulerConstant();
    store->unitTable[0].eqBands[1].gain = 420;
    store->speaker.channels[0].hpType = CrossoverLinkwitz2;
    store->speaker.channels[0].lpType = CrossoverVariable;
    store->speaker.channels[0].lpQ = 7;
    return store;
}

void MicEqFrameBuild(benchmark::State &state)
{
    const auto store = defaultStore();
    for (auto _ : state)
        benchmark::DoNotOptimize(buildMicEqFrame(store->unitTable[0], 2));
}
BENCHMARK(MicEqFrameBuild);

void MicLowCutFrameBuild(benchmark::State &state)
{
    const auto store = defaultStore();
    for (auto _ : state)
        benchmark::DoNotOptimize(buildMicEqFrame(store->unitTable[0], MicLowCutBand));
}
BENCHMARK(MicLowCutFrameBuild);

void SpeakerEqFrameBuild(benchmark::State &state)
{
    const auto store = defaultStore();
    for (auto _ : state)
        benchmark::DoNotOptimize(buildSpeakerEqFrame(store->speaker.channels[0], 0, 4));
}
BENCHMARK(SpeakerEqFrameBuild);

void HighPassFrameBuild(benchmark::State &state)
{
    const auto store = defaultStore();
    for (auto _ : state)
        benchmark::DoNotOptimize(buildHighPassFrame(store->speaker.channels[0], 0));
}
BENCHMARK(HighPassFrameBuild);

void LowPassFrameBuild(benchmark::State &state)
{
    const auto store = defaultStore();
    for (auto _ : state)
        benchmark::DoNotOptimize(buildLowPassFrame(store->speaker.channels[0], 0));
}
BENCHMARK(LowPassFrameBuild);

void DynamicsFrameBuild(benchmark::State &state)
{
    const auto store = defaultStore();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            buildDynamicsFrame(store->speaker.channels[0], 0, store->eulerConstant));
}
BENCHMARK(DynamicsFrameBuild);

} // namespace

int main(int argc, char *argv[])
{
    printBuildType();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
