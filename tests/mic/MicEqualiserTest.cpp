#include "RecordingLink.h"

#include "dsp/BandKinds.h"
#include "mic/EqualiserControls.h"
#include "mic/MicEqualiser.h"
#include "model/Store.h"
#include "seams/Clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace arx {
namespace {

// --- Controls and mappings -----------------------------------------------------------------

TEST(EqualiserMappings, FrequencySliderPositionsGiveTheDocumentedFrequencies)
{
    const std::pair<int, int> rows[] = { { 30, 20 }, { 330, 19953 }, { 200, 1000 }, { 100, 100 } };
    for (const auto &[position, frequency] : rows) {
        EXPECT_EQ(eqCodeFromControl(EqField::Frequency, true, position), frequency)
            << "position " << position;
        EXPECT_EQ(eqControlFromCode(EqField::Frequency, true, frequency), position)
            << frequency << " Hz";
    }
    EXPECT_EQ(eqControlFromCode(EqField::Frequency, true, 20000), 330);
    EXPECT_EQ(eqControlFromCode(EqField::Frequency, true, 5), 30) << "clamped to the range";
    EXPECT_EQ(eqControlFromCode(EqField::Frequency, true, 0), 30);
}

TEST(EqualiserMappings, GainSliderAndKnobBothPutZeroDbAt150)
{
    for (const bool slider : { true, false }) {
        EXPECT_EQ(eqCodeFromControl(EqField::Gain, slider, 150), 300) << "slider " << slider;
        EXPECT_EQ(eqControlFromCode(EqField::Gain, slider, 300), 150) << "slider " << slider;
        EXPECT_EQ(eqControlFromCode(EqField::Gain, slider, 900), 300) << "clamped";
    }
    EXPECT_EQ(eqCodeFromControl(EqField::Q, true, 19), 20) << "Q slider 0..999 is code 1..1000";
    EXPECT_EQ(eqCodeFromControl(EqField::Q, false, 20), 20);
    EXPECT_EQ(eqControlFromCode(EqField::Q, true, 1000), 999);
    EXPECT_EQ(eqControlFromCode(EqField::LowCutFrequency, true, 900), 200);
}

TEST(EqualiserControls, EveryBandHasOneKnobAndOneSliderPerField)
{
    EXPECT_EQ(eqControls().size(), 26u);
    for (int band = 1; band <= 4; ++band)
        for (const EqField field : { EqField::Gain, EqField::Frequency, EqField::Q })
            for (const bool slider : { false, true })
                EXPECT_EQ(eqControlById(eqControlFor(band, field, slider).id)->band, band);
    EXPECT_EQ(eqControlFor(EqLowCutBand, EqField::LowCutFrequency, true).id, 1111);
    EXPECT_EQ(eqControlFor(EqLowCutBand, EqField::LowCutFrequency, false).id, 1017);
    EXPECT_EQ(eqControlFor(3, EqField::Q, false).id, 1021);
    EXPECT_FALSE(eqControlById(1152).has_value()) << "the plot is not a knob";
}

// --- Behaviour -----------------------------------------------------------------------------

struct RecordingView final : MicEqualiserView {
    void showBand(int band, int exceptId) override
    {
        calls.push_back("band " + std::to_string(band) + (exceptId ? " except" : ""));
    }
    void showPlotBands() override { calls.push_back("plot bands"); }
    void showPlot() override { calls.push_back("plot"); }
    std::vector<std::string> calls;
};

constexpr int Slot = 2;

class Equaliser : public ::testing::Test {
protected:
    Equaliser()
    {
        SetDefaults(store);
        DeviceRecord &r = record();
        setText(r.ip, "127.0.60.12");
        r.type = UnitTypePxl2;
        r.inUse = 1;
        r.eqLowCutOn = 0;
        for (MicEqBand &band : r.eqBands) {
            band.q = 20;
            band.enabled = 1;
        }
    }

    DeviceRecord &record() { return store.unitTable[Slot]; }

    // The wire in short: "T1".."T5" for an equaliser frame of band 1..5, "A" for the
    // settings frame, "pause N".
    std::vector<std::string> wire() const
    {
        std::vector<std::string> out;
        std::size_t frame = 0;
        for (const std::string &entry : link.log) {
            if (entry.rfind("pause", 0) == 0) {
                out.push_back(entry);
                continue;
            }
            const std::vector<std::uint8_t> &bytes = link.frames.at(frame++);
            EXPECT_NE(entry.find("-> 127.0.60.12:39030"), std::string::npos) << entry;
            if (bytes.at(1) == 'T')
                out.push_back("T" + std::to_string(bytes.at(2) + 1));
            else
                out.push_back(std::string(1, char(bytes.at(1))));
        }
        return out;
    }

    // Press, moves and release of a plot point, as the plot reports them.
    void press(int handle, double frequency, double gain)
    {
        equaliser.pointMoved(handle, frequency, gain, false);
    }
    void move(int handle, double frequency, double gain)
    {
        equaliser.pointMoved(handle, frequency, gain, true);
    }
    void tickAfter(int milliseconds)
    {
        clock.advance(milliseconds);
        equaliser.tick();
    }

    Store store;
    test::RecordingLink link;
    ManualClock clock;
    RecordingView view;
    MicEqualiser equaliser { store, link, clock, Slot, view };
};

using Wire = std::vector<std::string>;

TEST_F(Equaliser, APressSendsTheBandAtOnce)
{
    press(1, 500, 0);
    EXPECT_EQ(wire(), (Wire { "T2", "pause 10" }));
    EXPECT_FALSE(equaliser.sendPending());
}

TEST_F(Equaliser, ADragReleasedWithin200msSendsTheFinalBandAtReleaseAndNothingLater)
{
    press(0, 100, 0);
    link.clear();
    move(0, 150.7, 3.05);
    tickAfter(100);
    move(0, 180.2, 4.58);
    EXPECT_TRUE(link.log.empty()) << "nothing while the point moves";
    clock.advance(150);
    equaliser.pointMoved(0, 180.2, 4.58, false); // release
    EXPECT_EQ(wire(), (Wire { "T1", "pause 10" }));
    EXPECT_EQ(record().eqBands[0].frequency, 180);
    EXPECT_EQ(record().eqBands[0].gain, 345) << "trunc(4.58 x 10 + 300)";
    const std::vector<std::uint8_t> &frame = link.frames.at(0);
    EXPECT_EQ((frame[5] << 8) | frame[6], 180) << "the final frequency went out";
    EXPECT_EQ((frame[9] << 8) | frame[10], 345) << "the final gain went out";
    link.clear();
    for (int t = 0; t < 5; ++t)
        tickAfter(100);
    EXPECT_TRUE(link.log.empty()) << "the timer sends nothing after the release";
}

TEST_F(Equaliser, ADragThatRestsSendsOnceAfter200To300msAndAgainAtRelease)
{
    press(2, 2000, 0);
    link.clear();
    move(2, 2500, 6);
    tickAfter(100);
    tickAfter(100);
    EXPECT_TRUE(link.log.empty()) << "200 ms of rest is not yet more than 200";
    tickAfter(100);
    EXPECT_EQ(wire(), (Wire { "T3", "pause 10" })) << "sent on the tick at 300 ms";
    tickAfter(100);
    tickAfter(100);
    EXPECT_EQ(wire().size(), 2u) << "sent once, not on every tick";
    equaliser.pointMoved(2, 2500, 6, false);
    EXPECT_EQ(wire(), (Wire { "T3", "pause 10", "T3", "pause 10" }));
}

TEST_F(Equaliser, TheRestIsMeasuredOnTheMonotonicClockAcrossMidnight)
{
    clock.setLocalTime({ 2026, 1, 4, 1, 23, 59, 59, 950 });
    move(3, 6000, 2);
    clock.setLocalTime({ 2026, 1, 5, 2, 0, 0, 0, 150 });
    tickAfter(250);
    EXPECT_EQ(wire(), (Wire { "T4", "pause 10" }));
    EXPECT_EQ(record().eqSendTime.hour, 23) << "the drag change's local stamp";
}

TEST_F(Equaliser, AMoveWhileOfflineChangesTheRecordAndSendsNothingEver)
{
    record().inUse = 0;
    press(0, 300, 0);
    move(0, 320, -6);
    tickAfter(500);
    equaliser.pointMoved(0, 320, -6, false);
    EXPECT_TRUE(link.log.empty());
    EXPECT_EQ(record().eqBands[0].frequency, 320);
    EXPECT_EQ(record().eqBands[0].gain, 240);
    EXPECT_FALSE(equaliser.sendPending()) << "nothing is queued for later";
}

TEST_F(Equaliser, TheLowCutPointSendsTheSettingsFrameOnlyWhileTheLowCutIsOff)
{
    press(4, 95.6, 0);
    EXPECT_EQ(record().eqLowCutFrequency, 95);
    EXPECT_EQ(wire(), (Wire { "T5", "pause 10", "A", "pause 10", "pause 20" }));
    link.clear();
    record().eqLowCutOn = 1;
    move(4, 120, 0);
    tickAfter(300);
    EXPECT_EQ(wire(), (Wire { "T5", "pause 10" }));
}

TEST_F(Equaliser, TheLowCutSwitchStoresCopiesThenSendsBandFiveAndTheSettingsFrame)
{
    equaliser.lowCutSwitched();
    EXPECT_EQ(record().eqLowCutOn, 1);
    EXPECT_EQ(record().lowCut, 1) << "copied for the settings frame";
    EXPECT_EQ(wire(), (Wire { "T5", "pause 10", "pause 20", "A", "pause 10", "pause 20" }));
    EXPECT_EQ(link.frames.at(0)[3], 1) << "band 5 carries the low cut on";
    EXPECT_EQ(link.frames.at(1)[3], 1) << "'%A' carries lowCut";
    link.clear();
    equaliser.lowCutSwitched();
    EXPECT_EQ(record().eqLowCutOn, 0);
    EXPECT_EQ(record().lowCut, 0);
    EXPECT_EQ(wire().size(), 6u);
}

TEST_F(Equaliser, KnobsAndSlidersWriteTheirCodeAndSendTheirBand)
{
    struct Row {
        int id;
        int value;
        bool released;
        Wire expected;
    };
    const Row rows[] = {
        { 1160, 200, false, { "T1", "pause 10" } }, // gain knob, band 1
        { 1101, 250, false, { "T2", "pause 10" } }, // frequency slider, band 2
        { 1110, 49, true, { "T4", "pause 10" } }, // Q slider released, band 4
        { 1017, 80, false, { "T5", "pause 10", "A", "pause 10", "pause 20" } },
        { 1111, 90, false, { "T5", "pause 10", "A", "pause 10", "pause 20" } },
        { 1111, 100, true, { "T5", "pause 10", "pause 20", "A", "pause 10", "pause 20" } },
    };
    for (const Row &row : rows) {
        link.clear();
        equaliser.controlChanged(row.id, row.value, row.released);
        EXPECT_EQ(wire(), row.expected) << "control " << row.id;
    }
    EXPECT_EQ(record().eqBands[0].gain, 350);
    EXPECT_EQ(record().eqBands[1].frequency, 3162);
    EXPECT_EQ(record().eqBands[3].q, 50);
    EXPECT_EQ(record().eqLowCutFrequency, 100);

    record().eqLowCutOn = 1;
    link.clear();
    equaliser.controlChanged(1017, 120, false);
    EXPECT_EQ(wire(), (Wire { "T5", "pause 10" })) << "no settings frame while the low cut is on";
}

TEST_F(Equaliser, AControlChangeKeepsTheOperatorsControlAndRefreshesItsPartner)
{
    equaliser.controlChanged(1097, 200, false);
    EXPECT_EQ(view.calls, (std::vector<std::string> { "band 1 except", "plot" }));
}

TEST_F(Equaliser, APointResetPutsTheBandAtZeroDbAndSendsIt)
{
    record().eqBands[1].gain = 420;
    equaliser.pointReset(1, 612.9);
    EXPECT_EQ(record().eqBands[1].gain, 300);
    EXPECT_EQ(record().eqBands[1].frequency, 612);
    EXPECT_EQ(wire(), (Wire { "T2", "pause 10" }));
}

TEST_F(Equaliser, ResettingTheLowCutPointOrADoubleClickOnASliderSendsNothing)
{
    const DeviceRecord before = record();
    equaliser.pointReset(4, 150);
    EXPECT_EQ(view.calls, (std::vector<std::string> { "plot" })) << "only the plot reloads";
    view.calls.clear();
    equaliser.pointReset(1096, 150); // a slider's id, where a handle index belongs
    equaliser.pointReset(-1, 150);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(link.log.empty());
    EXPECT_EQ(record().eqLowCutFrequency, before.eqLowCutFrequency);
    EXPECT_EQ(record().eqBands[0].gain, before.eqBands[0].gain);
}

TEST_F(Equaliser, ResetRestoresEveryBandAndTheLowCutThenSendsAllInOrder)
{
    for (MicEqBand &band : record().eqBands) {
        band.gain = 420;
        band.q = 77;
        band.shape = EqShapeHighShelf;
        band.frequency = 7777;
    }
    record().eqLowCutOn = 1;
    record().lowCut = 1;
    record().eqLowCutFrequency = 180;
    equaliser.reset();
    const int frequencies[] = { 100, 500, 2000, 5000 };
    for (int b = 0; b < 4; ++b) {
        EXPECT_EQ(record().eqBands[b].gain, 300) << "band " << b + 1;
        EXPECT_EQ(record().eqBands[b].q, 20) << "band " << b + 1;
        EXPECT_EQ(record().eqBands[b].shape, EqShapePeaking) << "band " << b + 1;
        EXPECT_EQ(record().eqBands[b].frequency, frequencies[b]) << "band " << b + 1;
    }
    EXPECT_EQ(record().eqLowCutOn, 0);
    EXPECT_EQ(record().lowCut, 0);
    EXPECT_EQ(record().eqLowCutFrequency, 20);
    EXPECT_EQ(record().eqLowCutShape, 4);
    EXPECT_EQ(record().eqLowCutQ, 200);
    EXPECT_EQ(wire(),
        (Wire { "T1", "pause 10", "pause 20", "T2", "pause 10", "pause 20", "T3", "pause 10",
            "pause 20", "T4", "pause 10", "pause 20", "T5", "pause 10", "pause 20", "A", "pause 10",
            "pause 20" }));
}

TEST_F(Equaliser, ResetWhileOfflineChangesEveryControlAndThePlotAndSendsNothing)
{
    record().inUse = 0;
    record().eqBands[2].gain = 180;
    equaliser.reset();
    EXPECT_TRUE(link.log.empty());
    EXPECT_EQ(record().eqBands[2].gain, 300);
    EXPECT_EQ(view.calls,
        (std::vector<std::string> { "band 1", "band 2", "band 3", "band 4", "band 5", "plot" }));
}

TEST_F(Equaliser, TheWheelStepsQAndSendsOnceItRests)
{
    equaliser.qWheeled(1, 3);
    EXPECT_EQ(record().eqBands[1].q, 23);
    EXPECT_TRUE(link.log.empty()) << "deferred like a drag";
    tickAfter(100);
    equaliser.qWheeled(1, -1);
    tickAfter(100);
    tickAfter(100);
    EXPECT_TRUE(link.log.empty()) << "the second notch restarted the rest";
    tickAfter(100);
    EXPECT_EQ(wire(), (Wire { "T2", "pause 10" }));
    EXPECT_EQ(link.frames.at(0)[8], 22 * 10 % 256) << "Q code 22 went out";

    record().eqBands[0].q = 999;
    equaliser.qWheeled(0, 5);
    EXPECT_EQ(record().eqBands[0].q, 1000) << "held at Q 100.0";
    record().eqBands[0].q = 2;
    equaliser.qWheeled(0, -5);
    EXPECT_EQ(record().eqBands[0].q, 1) << "held at Q 0.1";
    tickAfter(500);
    link.clear();
    equaliser.qWheeled(4, 1);
    tickAfter(500);
    EXPECT_TRUE(link.log.empty()) << "the low cut has no Q";
}

TEST_F(Equaliser, APressOnAnotherPointSendsTheWheeledBandStillWaitingFirst)
{
    equaliser.qWheeled(0, 2);
    clock.advance(100);
    press(2, 2000, 0);
    EXPECT_EQ(wire(), (Wire { "T1", "pause 10", "T3", "pause 10" }));
    EXPECT_EQ(link.frames.at(0)[8], 22 * 10 % 256) << "Q 2.2 went out";
    link.clear();
    tickAfter(500);
    EXPECT_TRUE(link.log.empty()) << "sent once";
}

TEST_F(Equaliser, AReloadRequestedByAResizeHappensOnTheNextTick)
{
    equaliser.requestReload();
    EXPECT_TRUE(view.calls.empty());
    equaliser.tick();
    EXPECT_EQ(view.calls,
        (std::vector<std::string> { "band 1", "band 2", "band 3", "band 4", "band 5", "plot" }));
    view.calls.clear();
    equaliser.tick();
    EXPECT_TRUE(view.calls.empty()) << "once";
}

} // namespace
} // namespace arx
