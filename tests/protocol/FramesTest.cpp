#include "protocol/Frames.h"
#include "protocol/Senders.h"

#include "RecordingLink.h"

#include <gtest/gtest.h>

#include <functional>

namespace arx {
namespace {

using test::hex;
using test::RecordingLink;
using Lines = std::vector<std::string>;

constexpr int Slot = 2;
constexpr const char *UnitAddress = "127.0.4.10";

// A unit whose every setting differs, with values wider than a byte where that matters.
Store knownStore()
{
    Store store;
    SetDefaults(store);
    DeviceRecord &unit = store.unitTable[Slot];
    unit.inUse = 1;
    setText(unit.ip, UnitAddress);
    setText(unit.code, "ABCDEFGH");
    unit.gain = 0x105; // only the low byte travels
    unit.lowCut = 1;
    unit.phantom = 1;
    unit.micMute = 0;
    unit.locate = 1;
    unit.mode = -1;
    unit.colourOpen = 0x123456;
    unit.colourMute = 0x000007;
    unit.colourCall = 0xABCDEF;

    store.rdaAddress = "127.0.4.200";
    setText(store.speaker.processorName, "SPEAKER-ONE-LONG");
    store.speaker.mainLevel = 0x30;
    store.speaker.channels[0].level = 0x12;
    store.speaker.channels[1].level = 0x1FE;
    store.speaker.channels[0].phase = 0;
    store.speaker.channels[1].phase = 1;
    return store;
}

struct SenderCase {
    const char *name;
    std::function<void(Link &, Store &)> send;
    Lines expected;
};

void PrintTo(const SenderCase &row, std::ostream *out)
{
    *out << row.name;
}

class SenderBytes : public ::testing::TestWithParam<SenderCase> { };

TEST_P(SenderBytes, SendsTheFrameByteForByteWithItsPause)
{
    Store store = knownStore();
    RecordingLink link;
    GetParam().send(link, store);
    EXPECT_EQ(link.log, GetParam().expected);
}

const std::string toUnit = std::string(" -> ") + UnitAddress + ":39030";
const std::string toProcessor = " -> 127.0.4.200:39060";

INSTANTIATE_TEST_SUITE_P(UnitFrames, SenderBytes,
    ::testing::Values(
        SenderCase { "A_six_settings", [](Link &l, Store &s) { SendUnitSettings(l, s, Slot); },
            { "25 41 05 01 01 00 01 FF 23" + toUnit, "pause 10" } },
        SenderCase { "H_five_settings_without_phantom",
            [](Link &l, Store &s) { SendUnitSettings5(l, s, Slot); },
            { "25 48 05 01 00 01 FF 23" + toUnit, "pause 10" } },
        SenderCase { "F_attach", [](Link &l, Store &) { SendAttach(l, UnitAddress, 1); },
            { "25 46 01 23" + toUnit, "pause 10" } },
        SenderCase { "F_detach", [](Link &l, Store &) { SendAttach(l, UnitAddress, 0); },
            { "25 46 00 23" + toUnit, "pause 10" } },
        SenderCase { "K_attach", [](Link &l, Store &) { SendAttach5(l, UnitAddress, 1); },
            { "25 4B 01 23" + toUnit, "pause 10" } },
        SenderCase { "K_detach", [](Link &l, Store &) { SendAttach5(l, UnitAddress, 0); },
            { "25 4B 00 23" + toUnit, "pause 10" } },
        SenderCase { "M_announced_code_and_low_colour_bytes",
            [](Link &l, Store &s) { SendColours(l, s, Slot); },
            { "25 4D 41 42 43 44 45 46 47 48 56 07 EF 23" + toUnit, "pause 10" } },
        SenderCase { "O_default_code_and_low_colour_bytes",
            [](Link &l, Store &s) { SendColoursDefaultCode(l, s, Slot); },
            { "25 4F 37 33 39 32 30 34 36 38 56 07 EF 23" + toUnit, "pause 10" } },
        SenderCase { "P_default_code_and_24_bit_colours_low_byte_first",
            [](Link &l, Store &s) { SendColoursWide(l, s, Slot); },
            { "25 50 37 33 39 32 30 34 36 38 56 34 12 07 00 00 EF CD AB 23" + toUnit,
                "pause 10" } },
        SenderCase { "C_local_port_and_own_address_to_the_search_group",
            [](Link &l, Store &) { SendSearchRequest(l, "127.0.4.1"); },
            { "25 43 98 76 7F 00 04 01 23 -> 239.254.50.123:9000", "pause 10" } },
        SenderCase { "C_without_an_own_address_sends_nothing",
            [](Link &l, Store &) { SendSearchRequest(l, "not an address"); }, {} }));

INSTANTIATE_TEST_SUITE_P(ProcessorFrames, SenderBytes,
    ::testing::Values(
        SenderCase { "04_main_level", [](Link &l, Store &s) { SendLevel(l, s, LevelTarget::Main); },
            { "AA 55 03 04 00 30 A5" + toProcessor } },
        SenderCase { "04_channel_A_level",
            [](Link &l, Store &s) { SendLevel(l, s, LevelTarget::ChannelA); },
            { "AA 55 03 04 01 12 A5" + toProcessor } },
        SenderCase { "04_channel_B_level_low_byte",
            [](Link &l, Store &s) { SendLevel(l, s, LevelTarget::ChannelB); },
            { "AA 55 03 04 02 FE A5" + toProcessor } },
        SenderCase { "06_first_ten_bytes_of_the_name",
            [](Link &l, Store &s) { SendDeviceName(l, s); },
            { "AA 55 0B 06 53 50 45 41 4B 45 52 2D 4F 4E A5" + toProcessor } },
        SenderCase { "07_processor_port_and_own_address",
            [](Link &l, Store &s) { SendConnectRequest(l, s, "127.0.4.1"); },
            { "AA 55 07 07 98 94 7F 00 04 01 A5" + toProcessor } },
        SenderCase { "07_without_an_own_address_sends_nothing",
            [](Link &l, Store &s) { SendConnectRequest(l, s, ""); }, {} },
        SenderCase { "08_exactly_five_bytes", [](Link &l, Store &s) { SendDeviceReset(l, s); },
            { "AA 55 01 08 A5" + toProcessor } },
        SenderCase { "0A_channel_A_phase",
            [](Link &l, Store &s) { SendPhase(l, s, PhaseTarget::ChannelA); },
            { "AA 55 03 0A 00 00 A5" + toProcessor } },
        SenderCase { "0A_channel_B_phase",
            [](Link &l, Store &s) { SendPhase(l, s, PhaseTarget::ChannelB); },
            { "AA 55 03 0A 01 01 A5" + toProcessor } }));

TEST(ColourSenders, DefaultCodeReplacesTheStoredCodeEvenWhenTheSendFails)
{
    for (auto send : { &SendColoursDefaultCode, &SendColoursWide }) {
        Store store = knownStore();
        RecordingLink link;
        link.failSends = true;
        send(link, store, Slot);
        EXPECT_EQ(textOf(store.unitTable[Slot].code), "73920468")
            << "the code is replaced before the frame is built, whatever the send does";
        EXPECT_EQ(store.unitTable[Slot].code[8], '\0') << "eight characters and a NUL";
    }
}

TEST(ColourSenders, MSendsTheAnnouncedCodeAndLeavesItAlone)
{
    Store store = knownStore();
    RecordingLink link;
    SendColours(link, store, Slot);
    EXPECT_EQ(textOf(store.unitTable[Slot].code), "ABCDEFGH");
}

TEST(ColourFrames, AColourStoredAs123456GoesOutAs563412InPAndAs56InM)
{
    DeviceRecord unit;
    unit.colourOpen = 0x123456;
    unit.colourMute = 0x123456;
    unit.colourCall = 0x123456;
    EXPECT_EQ(
        hex(coloursWideFrame(unit)), "25 50 00 00 00 00 00 00 00 00 56 34 12 56 34 12 56 34 12 23");
    EXPECT_EQ(hex(coloursFrame(unit)), "25 4D 00 00 00 00 00 00 00 00 56 56 56 23");
}

TEST(ProcessorFrames, ANameShorterThanTenBytesIsPaddedWithZeros)
{
    SpeakerStore speaker;
    setText(speaker.processorName, "AB");
    EXPECT_EQ(hex(deviceNameFrame(speaker)), "AA 55 0B 06 41 42 00 00 00 00 00 00 00 00 A5");
}

TEST(ProcessorFrames, LengthCountsTheCommandAndItsData)
{
    const std::uint8_t data[] = { 1, 2, 3, 4, 5 };
    const Frame frame = processorFrame(0x05, data);
    EXPECT_EQ(hex(frame), "AA 55 06 05 01 02 03 04 05 A5");
    EXPECT_EQ(frame.size(), frame[2] + ProcessorFrameOverhead) << "whole frame is L + 4 bytes";
}

TEST(UnitFrames, SearchRequestCarriesEveryOctetFirstToLast)
{
    EXPECT_EQ(hex(searchRequestFrame({ 192, 168, 0, 7 })), "25 43 98 76 C0 A8 00 07 23");
    EXPECT_EQ(hex(connectRequestFrame({ 192, 168, 0, 7 })), "AA 55 07 07 98 94 C0 A8 00 07 A5");
}

} // namespace
} // namespace arx
