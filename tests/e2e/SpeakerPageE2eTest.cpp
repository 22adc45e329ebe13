// The SPEAKER page on the application's socket (127.0.70.1) against an arx-sim processor at
// 127.0.70.200: connected through the discovery, edited through the page's controls. The
// processor must receive exactly the frames of the edits, and the coefficients it receives
// must do what their settings say.
#include "LoopbackRoom.h"

#include "../dsp/ComplexResponse.h"
#include "controls/CBitmapSlider.h"
#include "controls/CComBoxBtn.h"
#include "controls/CDropList.h"
#include "controls/CListWnd.h"
#include "controls/CSpinBtn.h"
#include "controls/ControlId.h"
#include "controls/PngButton.h"
#include "dsp/CoefficientDesigns.h"
#include "dsp/CoefficientFrames.h"
#include "protocol/Frames.h"
#include "speaker/CSpeakerDlg.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <cmath>
#include <functional>

namespace arx::e2e {
namespace {

using arxsim::Bytes;

constexpr const char *Subnet = "127.0.70";

// A coefficient word of a frame: 32-bit two's complement, or 28-bit where the top nibble is
// masked off (commands 1 and 3); the binary point after bit 23.
double coefficient(const Bytes &frame, std::size_t at, bool masked)
{
    std::uint32_t word = std::uint32_t(frame[at]) << 24 | std::uint32_t(frame[at + 1]) << 16
        | std::uint32_t(frame[at + 2]) << 8 | frame[at + 3];
    if (masked && (word & 0x08000000u))
        word |= 0xF0000000u;
    return static_cast<std::int32_t>(word) / 8388608.0;
}

// The section a frame carries, from b0 at `at`: b0, b1, b2, -a1, -a2.
Biquad sectionOf(const Bytes &frame, std::size_t at, bool masked)
{
    return { .b0 = coefficient(frame, at, masked),
        .b1 = coefficient(frame, at + 4, masked),
        .b2 = coefficient(frame, at + 8, masked),
        .a1 = -coefficient(frame, at + 12, masked),
        .a2 = -coefficient(frame, at + 16, masked) };
}

int word16(const Bytes &frame, std::size_t at)
{
    return frame[at] << 8 | frame[at + 1];
}

Bytes bytesOf(std::span<const std::uint8_t> frame)
{
    return Bytes(frame.begin(), frame.end());
}

class SpeakerPageEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
        room.discovery.startSearch();
        ASSERT_TRUE(room.pumpUntil([&] { return room.deliveredFrom(processor()) == 2; }));
        room.discovery.connectRow(0);
        ASSERT_TRUE(room.pumpUntil([&] { return room.store.speaker.rdaConnected != 0; }));
        room.control.clear();
    }

    std::string processor() const { return room.processorAddress(); }

    template <class Control> Control *on(int id)
    {
        auto *found = findControl<Control>(&page, id);
        EXPECT_NE(found, nullptr) << "control " << id;
        return found;
    }
    void step(int knobId, Qt::Key key = Qt::Key_Up) { QTest::keyClick(on<CSpinBtn>(knobId), key); }
    void press(int buttonId) { QTest::mouseClick(on<PngButton>(buttonId), Qt::LeftButton); }
    void choose(int selectorId, int index)
    {
        auto *selector = on<CComBoxBtn>(selectorId);
        QTest::mouseClick(selector, Qt::LeftButton, {}, QPoint(10, 10));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(selector->listWindow()));
        CDropList *list = selector->dropList();
        QTest::mouseClick(
            list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
    }
    // Steps a knob `count` times; after each step the processor should receive the frame
    // of the store as it then is. Returns where the last of them stands in the sequence.
    std::size_t steps(int knobId, int count, Qt::Key key, const std::function<Bytes()> &frame)
    {
        for (int i = 0; i < count; ++i) {
            step(knobId, key);
            expected.push_back(frame());
        }
        return expected.size() - 1;
    }
    std::size_t expect(std::span<const std::uint8_t> frame)
    {
        expected.push_back(bytesOf(frame));
        return expected.size() - 1;
    }
    const SpeakerChannel &channel(int c) const { return room.store.speaker.channels[c]; }

    LoopbackRoom room { Subnet, { "--units", "0" }, "e2e-speaker.log" };
    CSpeakerDlg page { room.room, room.prompts };
    std::vector<Bytes> expected;
};

TEST_F(SpeakerPageEndToEnd, EveryGroupsEditReachesTheProcessorExactlyAndDesignsWhatItSays)
{
    const auto band = [&](int c, int b) {
        return [this, c, b] { return bytesOf(*buildSpeakerEqFrame(channel(c), c, b)); };
    };
    const std::size_t bandAt = steps(1040, 30, Qt::Key_Up, band(0, 4)); // A band 4 to G:3.0
    steps(1066, 1, Qt::Key_Up, band(1, 3)); // B band 3 frequency
    steps(1080, 1, Qt::Key_Down, band(1, 1)); // B band 1 Q
    const std::size_t highPassAt = steps(1062, 60, Qt::Key_Up,
        [this] { return bytesOf(*buildHighPassFrame(channel(0), 0)); }); // A high-pass up
    choose(1054, CrossoverVariable); // B low-pass "Variable"
    expect(*buildLowPassFrame(channel(1), 1));
    const std::size_t variableAt = steps(1130, 6, Qt::Key_Up,
        [this] { return bytesOf(*buildLowPassFrame(channel(1), 1)); }); // its Q up
    const std::size_t dynamicsAt = steps(1092, 1, Qt::Key_Up, [this] {
        return bytesOf(buildDynamicsFrame(channel(0), 0, room.store.eulerConstant));
    }); // A threshold
    QTest::keyClick(on<CBitmapSlider>(1109), Qt::Key_PageUp); // A level down 20 codes
    expect(levelFrame(LevelTarget::ChannelA, 20));
    press(1125); // B phase
    expect(phaseFrame(PhaseTarget::ChannelB, 1));
    on<QLineEdit>(1138)->setText(QStringLiteral("Stage-L"));
    press(1121);
    expect(deviceNameFrame(room.store.speaker));
    ASSERT_EQ(channel(1).lpQ, 7);

    const std::size_t beforeReset = expected.size();
    press(1126); // B reset, confirmed by the scripted prompts
    for (int band = 1; band <= 7; ++band)
        expect(*buildSpeakerEqFrame(channel(1), 1, band));
    expect(*buildHighPassFrame(channel(1), 1));
    expect(*buildLowPassFrame(channel(1), 1));

    ASSERT_TRUE(room.control.waitUntil(
        [&](arxsim::SimControl &c) { return c.processorFrames().size() >= expected.size(); },
        std::chrono::seconds(10)));
    const std::vector<Bytes> received = room.control.processorFrames();
    ASSERT_EQ(received.size(), expected.size()) << "nothing more, nothing less";
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(received[i], expected[i]) << "frame " << i;
    EXPECT_EQ(room.control.processor().number("phaseB"), 1);
    EXPECT_EQ(room.control.processor().number("levelA"), 20);
    EXPECT_EQ(room.control.processor().text("name"), "Stage-L");

    // The designs, read back from the bytes the processor got, checked against what their
    // settings mean: a band's gain at its centre, each crossover type's level at its corner.
    const Bytes &bandFrame = received[bandAt];
    ASSERT_EQ(bandFrame[3], 0x01);
    EXPECT_EQ(word16(bandFrame, 6), 1000);
    EXPECT_EQ(word16(bandFrame, 10), 210) << "G:3.0";
    const Biquad bandSection = sectionOf(bandFrame, 12, true);
    EXPECT_NEAR(test::complexMagnitudeDb(bandSection, 1000, 48000), 3.0, 0.01);
    EXPECT_NEAR(test::complexMagnitudeDb(bandSection, 50, 48000), 0.0, 0.05);

    const Bytes &highPass = received[highPassAt];
    ASSERT_EQ(highPass[3], 0x02);
    const int corner = word16(highPass, 5);
    EXPECT_EQ(corner, channel(0).hpFrequency);
    EXPECT_GT(corner, 20);
    EXPECT_EQ(highPass[27], CrossoverButterworth1);
    const Biquad highPassSection = sectionOf(highPass, 7, false);
    EXPECT_NEAR(test::complexMagnitudeDb(highPassSection, corner, 48000), -3.01, 0.02)
        << "a first-order filter is 3 dB down at its corner";
    EXPECT_NEAR(test::complexMagnitudeDb(highPassSection, 8000, 48000), 0.0, 0.01);

    const Bytes &variable = received[variableAt];
    ASSERT_EQ(variable[3], 0x03);
    EXPECT_EQ(variable[27], CrossoverVariable);
    EXPECT_EQ(word16(variable, 28), 7);
    const Biquad variableSection = sectionOf(variable, 7, true);
    EXPECT_NEAR(
        test::complexMagnitudeDb(variableSection, 20000, 48000), 20.0 * std::log10(0.7), 0.02)
        << "a second-order low-pass is Q at its corner";
    EXPECT_NEAR(test::complexMagnitudeDb(variableSection, 100, 48000), 0.0, 0.01);

    const Bytes &dynamics = received[dynamicsAt];
    ASSERT_EQ(dynamics[3], 0x05);
    EXPECT_EQ(dynamics[7], 1) << "threshold code";
    EXPECT_NEAR(coefficient(dynamics, 34, false), 25.0 / -6.0206, 1e-6)
        << "how far below +24 dB, in steps of 6.02 dB";
    EXPECT_NEAR(coefficient(dynamics, 38, false), 0.0, 1e-6) << "ratio 1:1, no slope";

    for (std::size_t i = beforeReset; i < beforeReset + 7; ++i) {
        const Biquad flat = sectionOf(received[i], 12, true);
        for (double f : { 50.0, 1000.0, 12000.0 })
            EXPECT_NEAR(test::complexMagnitudeDb(flat, f, 48000), 0.0, 1e-4)
                << "a reset band is flat, frame " << i;
    }
}

} // namespace
} // namespace arx::e2e
