// The decoder: one row per frame kind in both directions, on frames made by the program's own
// builders (out) and the devices' frames of the parser tests (in).
#include "journal/FrameMeaning.h"

#include "DeviceFrames.h"

#include "dsp/BandKinds.h"
#include "dsp/CoefficientFrames.h"
#include "model/Store.h"
#include "protocol/Frames.h"

#include <gtest/gtest.h>

#include <functional>

namespace arx {
namespace {

using test::Bytes;

struct MeaningRow {
    const char *name;
    std::function<Bytes()> frame;
    FrameWay way;
    std::int32_t unitType;
    const char *meaning;
};

void PrintTo(const MeaningRow &row, std::ostream *out)
{
    *out << row.name;
}

DeviceRecord unit()
{
    DeviceRecord record;
    record.gain = 2;
    record.lowCut = 0;
    record.phantom = 1;
    record.micMute = 1;
    record.locate = 0;
    record.mode = 2;
    setText(record.code, DefaultColourCode);
    record.colourOpen = 1;
    record.colourMute = 2;
    record.colourCall = 4;
    record.eqBands[1] = {
        .frequency = 1000, .gain = 330, .q = 20, .enabled = 1, .spare = 0, .shape = EqShapePeaking
    };
    record.eqLowCutOn = 1;
    record.eqLowCutFrequency = 80;
    return record;
}

SpeakerChannel channel()
{
    SpeakerChannel channel;
    channel.bands[2] = { .frequency = 800, .gain = 195, .q = 20 };
    channel.hpType = 3;
    channel.hpFrequency = 120;
    channel.hpQ = 10;
    channel.lpType = 4;
    channel.lpFrequency = 5000;
    channel.lpQ = 7;
    channel.threshold = 12;
    channel.ratio = 40;
    channel.attack = 5;
    channel.release = 50;
    return channel;
}

template <std::size_t N> Bytes bytesOf(const std::optional<std::array<std::uint8_t, N>> &frame)
{
    return Bytes(frame->begin(), frame->end());
}

constexpr Ipv4Bytes Own { 192, 168, 0, 20 };

const MeaningRow MeaningRows[] = {
    // What ARX sends
    { "UnitSettingsArn1", [] { return unitSettingsFrame(unit()); }, FrameWay::Out, 1,
        "settings gain +6dB, low cut off, 48V on, mute on, locate off, mode PTT" },
    { "UnitSettingsPxl2KeepsTheDbValue",
        [] {
            DeviceRecord record = unit();
            record.gain = 9;
            return unitSettingsFrame(record);
        },
        FrameWay::Out, 3,
        "settings gain +9dB, low cut off, 48V on, mute on, locate off, mode PTT" },
    { "UnitSettingsOfAnUnknownUnitShowTheCode", [] { return unitSettingsFrame(unit()); },
        FrameWay::Out, 0,
        "settings gain code 2, low cut off, 48V on, mute on, locate off, mode PTT" },
    { "UnitSettings5VelKStartsAtMinusSix",
        [] {
            DeviceRecord record = unit();
            record.gain = 0;
            record.lowCut = 1;
            record.micMute = 0;
            record.locate = 1;
            record.mode = 3;
            return unitSettings5Frame(record);
        },
        FrameWay::Out, 2, "settings gain -6dB, low cut on, mute off, locate on, mode PTM" },
    { "SearchRequest", [] { return searchRequestFrame(Own); }, FrameWay::Out, 0,
        "search from 192.168.0.20:39030" },
    { "Attach", [] { return attachFrame(1); }, FrameWay::Out, 1, "attach" },
    { "Detach", [] { return attachFrame(0); }, FrameWay::Out, 1, "detach" },
    { "Attach5", [] { return attach5Frame(1); }, FrameWay::Out, 2, "attach" },
    { "Colours", [] { return coloursFrame(unit()); }, FrameWay::Out, 1,
        "colours open red, mute green, call blue, code 73920468" },
    { "ColoursDefaultCode", [] { return coloursDefaultCodeFrame(unit()); }, FrameWay::Out, 2,
        "colours open red, mute green, call blue, code 73920468" },
    { "ColoursWideShowRedFirst",
        [] {
            DeviceRecord record = unit();
            record.colourOpen = 0x0000FF;
            record.colourMute = 0x00FF00;
            record.colourCall = 0xFF0000;
            return coloursWideFrame(record);
        },
        FrameWay::Out, 3, "colours open #FF0000, mute #00FF00, call #0000FF, code 73920468" },
    { "MicEqBand", [] { return bytesOf(buildMicEqFrame(unit(), 2)); }, FrameWay::Out, 3,
        "EQ band 2: 1000 Hz, Q 2.0, +3.0 dB, peaking" },
    { "MicEqBandSwitchedOff",
        [] {
            DeviceRecord record = unit();
            record.eqBands[1].enabled = 0;
            record.eqBands[1].gain = 255;
            record.eqBands[1].shape = EqShapeHighShelf;
            return bytesOf(buildMicEqFrame(record, 2));
        },
        FrameWay::Out, 3, "EQ band 2: 1000 Hz, Q 2.0, -4.5 dB, high shelf, off" },
    { "MicLowCut", [] { return bytesOf(buildMicEqFrame(unit(), MicLowCutBand)); }, FrameWay::Out, 3,
        "low cut on, 80 Hz" },
    { "SpeakerEqBand", [] { return bytesOf(buildSpeakerEqFrame(channel(), 0, 3)); }, FrameWay::Out,
        0, "processor EQ A band 3: 800 Hz, Q 2.0, +1.5 dB" },
    { "HighPass", [] { return bytesOf(buildHighPassFrame(channel(), 0)); }, FrameWay::Out, 0,
        "high-pass A Linkwitz 2, 120 Hz" },
    { "LowPassVariableShowsItsQ", [] { return bytesOf(buildLowPassFrame(channel(), 1)); },
        FrameWay::Out, 0, "low-pass B Variable, 5000 Hz, Q 0.7" },
    { "Dynamics",
        [] {
            const DynamicsFrame frame = buildDynamicsFrame(channel(), 1, computeEulerConstant());
            return Bytes(frame.begin(), frame.end());
        },
        FrameWay::Out, 0, "limiter B threshold -12dB, ratio 1:4.0, attack 5ms, release 50ms" },
    { "LevelMain", [] { return levelFrame(LevelTarget::Main, 54); }, FrameWay::Out, 0,
        "level main -3.0 dB" },
    { "LevelChannelB", [] { return levelFrame(LevelTarget::ChannelB, 0); }, FrameWay::Out, 0,
        "level B +24.0 dB" },
    { "DeviceName",
        [] {
            SpeakerStore speaker;
            setText(speaker.processorName, "RDA-1");
            return deviceNameFrame(speaker);
        },
        FrameWay::Out, 0, "name RDA-1" },
    { "ConnectRequest", [] { return connectRequestFrame(Own); }, FrameWay::Out, 0,
        "connect request from 192.168.0.20, port 39060" },
    { "DeviceReset", [] { return deviceResetFrame(); }, FrameWay::Out, 0, "device reset" },
    { "PhaseInverted", [] { return phaseFrame(PhaseTarget::ChannelA, 1); }, FrameWay::Out, 0,
        "phase A inverted" },
    { "PhaseNormal", [] { return phaseFrame(PhaseTarget::ChannelB, 0); }, FrameWay::Out, 0,
        "phase B normal" },
    // What the devices send
    { "Arn1Announcement", [] { return test::arn1Announcement("Chair 1"); }, FrameWay::In, 0,
        "announcement ARN1 \"Chair 1\": gain +9dB, low cut on, 48V on, mute off, locate off, "
        "mode PTT, colours open red, mute green, call yellow, code C0DE0001" },
    { "Arn1ShortAnnouncement", [] { return test::arn1ShortAnnouncement("Chair 2"); }, FrameWay::In,
        0,
        "announcement ARN1 \"Chair 2\": gain +9dB, low cut on, 48V on, mute off, locate off, "
        "mode PTT" },
    { "VelKAnnouncement", [] { return test::velkAnnouncement("Desk"); }, FrameWay::In, 0,
        "announcement VEL-K \"Desk\": gain +6dB, low cut off, mute on, locate off, mode PTM, "
        "colours open magenta, mute cyan, call light blue, code C0DE0002" },
    { "VelKShortAnnouncement", [] { return test::velkShortAnnouncement("Desk 2"); }, FrameWay::In,
        0, "announcement VEL-K \"Desk 2\": gain +6dB, low cut off, mute on, locate off, mode PTM" },
    { "AnnouncementNameDecodedFromGbk",
        [] { return test::arn1ShortAnnouncement("\xBB\xE1\xD2\xE9\xCA\xD2"); }, FrameWay::In, 0,
        "announcement ARN1 \"会议室\": gain +9dB, low cut on, 48V on, mute off, locate off, "
        "mode PTT" },
    { "AnnouncementOfNoKnownLength",
        [] {
            Bytes bytes = test::arn1ShortAnnouncement("Chair");
            bytes.insert(bytes.end() - 1, 0);
            return bytes;
        },
        FrameWay::In, 0, "announcement of 22 bytes, a length no unit sends" },
    { "Pxl2Announcement", [] { return test::pxl2Announcement("Lectern"); }, FrameWay::In, 0,
        "announcement PXL2 \"Lectern\": gain +9dB, low cut on, 48V off, mute on, locate off, "
        "mode PTM, colours open #563412, mute #00FF00, call #EFCDAB, code C0DE0003; "
        "EQ band 1: 100 Hz, Q 2.0, 0.0 dB, peaking; EQ band 2: 500 Hz, Q 3.0, +1.0 dB, low shelf; "
        "EQ band 3: 2000 Hz, Q 4.0, +2.0 dB, high shelf; "
        "EQ band 4: 5000 Hz, Q 5.0, +3.0 dB, peaking; low cut 80 Hz" },
    { "Pxl2AnnouncementTooShort",
        [] {
            Bytes bytes = test::pxl2Announcement("Lectern");
            bytes.erase(bytes.end() - 3, bytes.end() - 1);
            return bytes;
        },
        FrameWay::In, 0, "PXL2 announcement of 82 bytes, too short" },
    { "SettingsReportE",
        [] {
            return test::report('E', { 2, 0, 1, 1, 0, 1 });
        },
        FrameWay::In, 1,
        "settings report gain +6dB, low cut off, 48V on, mute on, locate off, mode ON" },
    { "SettingsReportJ",
        [] {
            return test::report('J', { 2, 1, 0, 1, 0 });
        },
        FrameWay::In, 2, "settings report gain 0dB, low cut on, mute off, locate on, mode OFF" },
    { "LevelReportG", [] { return test::report('G', { 12 }); }, FrameWay::In, 1, "level 12" },
    { "LevelReportL", [] { return test::report('L', { 7 }); }, FrameWay::In, 2, "level 7" },
    { "UnusedB",
        [] {
            return test::report('B', { 1, 2 });
        },
        FrameWay::In, 1, "'%B', not used by ARX" },
    { "UnusedU", [] { return test::report('U', {}); }, FrameWay::In, 1, "'%U', not used by ARX" },
    { "ProcessorAnswer", [] { return test::processorAnswer("RDA-1"); }, FrameWay::In, 0,
        "processor answer RDA-1" },
    // What fits no kind
    { "WrongLength",
        [] {
            return Bytes { '%', 'A', 1, 2, 3, 4, 5, '#' };
        },
        FrameWay::Out, 1, "'%A' of 8 bytes, not 9" },
    { "ReportTooShort",
        [] {
            return test::report('E', { 1, 2 });
        },
        FrameWay::In, 1, "'%E' of 5 bytes, not 9" },
    { "UnknownLetter", [] { return test::report('Z', { 1 }); }, FrameWay::In, 0,
        "unknown unit frame '%Z'" },
    { "SettingsLetterComingIn", [] { return unitSettingsFrame(unit()); }, FrameWay::In, 1,
        "unknown unit frame '%A'" },
    { "UnknownProcessorCommand",
        [] {
            return Bytes { 0xAA, 0x55, 0x01, 0x09, 0xA5 };
        },
        FrameWay::Out, 0, "unknown processor command 09" },
    { "ProcessorFrameWithWrongLength",
        [] {
            return Bytes { 0xAA, 0x55, 0x05, 0x08, 0xA5 };
        },
        FrameWay::Out, 0, "processor frame of 5 bytes with a wrong length or end" },
    { "NotAFrame",
        [] {
            return Bytes { 1, 2, 3 };
        },
        FrameWay::In, 0, "not a frame" },
};

class FrameMeaning : public ::testing::TestWithParam<MeaningRow> { };

TEST_P(FrameMeaning, NamesEveryFieldInThePagesUnits)
{
    const MeaningRow &row = GetParam();
    const Bytes bytes = row.frame();
    EXPECT_EQ(frameMeaning(bytes, row.way, row.unitType), row.meaning);
}

INSTANTIATE_TEST_SUITE_P(Frames, FrameMeaning, ::testing::ValuesIn(MeaningRows),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FrameMeaningLevels, OnlyLevelReportsCountAsLevelReports)
{
    EXPECT_TRUE(isLevelReport(test::report('G', { 3 })));
    EXPECT_TRUE(isLevelReport(test::report('L', { 3 })));
    EXPECT_FALSE(isLevelReport(test::report('E', { 2, 0, 1, 1, 0, 1 })));
    EXPECT_FALSE(isLevelReport(levelFrame(LevelTarget::Main, 3)));
}

} // namespace
} // namespace arx
