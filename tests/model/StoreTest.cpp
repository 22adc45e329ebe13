#include "model/Store.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>

namespace arx {
namespace {

// Preset files are read and written block by block at these offsets.
TEST(SpeakerStoreLayout, BlocksAndFieldsLieAtTheirFileOffsets)
{
    EXPECT_EQ(offsetof(SpeakerStore, channels), 0u);
    EXPECT_EQ(offsetof(SpeakerStore, channels) + sizeof(SpeakerChannel), 344u);
    EXPECT_EQ(offsetof(SpeakerStore, reservedBytes), 688u);
    EXPECT_EQ(offsetof(SpeakerStore, mainLevel), 704u);
    EXPECT_EQ(offsetof(SpeakerStore, processorName), 708u);
    EXPECT_EQ(offsetof(SpeakerStore, rdaConnected), 724u);

    EXPECT_EQ(sizeof(SpeakerChannel), 344u);
    EXPECT_EQ(offsetof(SpeakerChannel, hpFrequency), 244u);
    EXPECT_EQ(offsetof(SpeakerChannel, lpFrequency), 260u);
    EXPECT_EQ(offsetof(SpeakerChannel, level), 276u);
    EXPECT_EQ(offsetof(SpeakerChannel, phase), 280u);
    EXPECT_EQ(offsetof(SpeakerChannel, threshold), 288u);
    EXPECT_EQ(offsetof(SpeakerChannel, ratio), 304u);
    EXPECT_EQ(sizeof(SpeakerBand), 24u);
    EXPECT_EQ(offsetof(SpeakerBand, bandFlag), 20u);
}

class DefaultsTest : public ::testing::Test {
protected:
    void SetUp() override { SetDefaults(*store); }
    std::unique_ptr<Store> store = std::make_unique<Store>();
};

TEST_F(DefaultsTest, MicrophoneEqualiserStartsAtItsFourBandsInFirstAndLastSlot)
{
    for (int slot : {0, 63}) {
        const DeviceRecord &record = store->unitTable[slot];
        const int frequencies[] = {100, 500, 2000, 5000};
        for (int band = 0; band < 4; ++band) {
            EXPECT_EQ(record.eqBands[band].frequency, frequencies[band]) << "slot " << slot;
            EXPECT_EQ(record.eqBands[band].gain, 300) << "slot " << slot;
            EXPECT_EQ(record.eqBands[band].q, 200) << "slot " << slot;
            EXPECT_EQ(record.eqBands[band].shape, 0) << "slot " << slot;
            EXPECT_EQ(record.eqBands[band].enabled, 0) << "slot " << slot;
        }
        EXPECT_EQ(record.eqLowCutFrequency, 20);
        EXPECT_EQ(record.eqLowCutShape, 4);
        EXPECT_EQ(record.eqLowCutQ, 200);
        EXPECT_EQ(record.eqLowCutOn, 1);
    }
}

TEST_F(DefaultsTest, SettingsAndTogglesStayZeroUntilAUnitReports)
{
    for (int slot : {0, 63}) {
        const DeviceRecord &record = store->unitTable[slot];
        EXPECT_EQ(record.gain, 0);
        EXPECT_EQ(record.mode, 0);
        EXPECT_EQ(record.lowCut, 0);
        EXPECT_EQ(record.phantom, 0);
        EXPECT_EQ(record.micMute, 0);
        EXPECT_EQ(record.locate, 0);
        EXPECT_EQ(record.inUse, 0);
        EXPECT_EQ(record.unitNumber, 0);
    }
    EXPECT_FALSE(store->scanActive);
    EXPECT_EQ(store->rdaAddress, "192.168.0.106");
}

TEST_F(DefaultsTest, BothSpeakerChannelsGetBandsCrossoversAndLimiterStartValues)
{
    const int frequencies[] = {50, 200, 800, 1000, 3000, 8000, 12000};
    for (const SpeakerChannel &channel : store->speaker.channels) {
        for (int band = 0; band < 7; ++band) {
            EXPECT_EQ(channel.bands[band].frequency, frequencies[band]);
            EXPECT_EQ(channel.bands[band].gain, 180);
            EXPECT_EQ(channel.bands[band].q, 20);
            EXPECT_EQ(channel.bands[band].bandFlag, 1);
        }
        EXPECT_EQ(channel.hpFrequency, 20);
        EXPECT_EQ(channel.hpType, 0);
        EXPECT_EQ(channel.hpQ, 0);
        EXPECT_EQ(channel.lpFrequency, 20000);
        EXPECT_EQ(channel.level, 0);
        EXPECT_EQ(channel.phase, 0);
        EXPECT_EQ(channel.threshold, 0);
        EXPECT_EQ(channel.attack, 1);
        EXPECT_EQ(channel.release, 1);
        EXPECT_EQ(channel.ratio, 10);
    }
    EXPECT_EQ(store->speaker.mainLevel, 0);
    EXPECT_EQ(store->speaker.processorName[0], '\0');
    EXPECT_EQ(store->speaker.rdaConnected, 0);
}

TEST(EulerConstant, SeriesGivesEToDoublePrecision)
{
    EXPECT_NEAR(computeEulerConstant(), std::exp(1.0), 1e-15);
}

class SlotLookupTest : public ::testing::Test {
protected:
    void occupy(int slot, const char *ip, const char *name)
    {
        DeviceRecord &record = store->unitTable[slot];
        record.inUse = 1;
        setText(record.ip, ip);
        setText(record.name, name);
    }
    std::unique_ptr<Store> store = std::make_unique<Store>();
};

TEST_F(SlotLookupTest, SenderMatchesOnlyOccupiedSlotsWithExactAddress)
{
    occupy(3, "127.0.9.10", "Desk");
    EXPECT_TRUE(slotMatchesSender(store->unitTable[3], "127.0.9.10"));
    EXPECT_FALSE(slotMatchesSender(store->unitTable[3], "127.0.9.1"));
    EXPECT_FALSE(slotMatchesSender(store->unitTable[3], "127.0.9.100"));
    store->unitTable[3].inUse = 0;
    EXPECT_FALSE(slotMatchesSender(store->unitTable[3], "127.0.9.10"));
}

TEST_F(SlotLookupTest, AnnouncementComparesAddressAndNameOnEachSlotBeforeTheNext)
{
    occupy(1, "127.0.9.11", "Chair");
    occupy(2, "127.0.9.12", "Desk");
    // Slot 1 matches by name before slot 2 is looked at, although slot 2 has the address.
    EXPECT_EQ(findSlotForAnnouncement(*store, "127.0.9.12", "Chair"), 1);
    EXPECT_EQ(findSlotForAnnouncement(*store, "127.0.9.12", "Other"), 2);
    EXPECT_EQ(findSlotForAnnouncement(*store, "127.0.9.99", "Desk"), 2);
}

TEST_F(SlotLookupTest, AnnouncementLookupIgnoresOccupancyAndEmptyNameMatchesFirstEmptySlot)
{
    occupy(0, "127.0.9.10", "Desk");
    occupy(1, "127.0.9.11", "Chair");
    store->unitTable[1].inUse = 0; // freed, texts still set
    EXPECT_EQ(findSlotForAnnouncement(*store, "127.0.9.11", "x"), 1);
    EXPECT_EQ(findSlotForAnnouncement(*store, "127.0.9.50", ""), 2);
}

TEST_F(SlotLookupTest, NoMatchAndFreeSlots)
{
    for (int slot = 0; slot < UnitSlotCount; ++slot)
        occupy(slot, "127.0.9.10", "Desk");
    EXPECT_EQ(findSlotForAnnouncement(*store, "127.0.9.50", "Chair"), -1);
    EXPECT_EQ(findFreeSlot(*store), -1);
    store->unitTable[40].inUse = 0;
    store->unitTable[7].inUse = 0;
    EXPECT_EQ(findFreeSlot(*store), 7);
}

TEST(FixedText, IsCutToItsWidthAndAlwaysTerminated)
{
    char field[24];
    std::memset(field, 'x', sizeof field);
    setText(field, "0123456789012345678901234567");
    EXPECT_EQ(textOf(field), "01234567890123456789012");
    EXPECT_EQ(field[23], '\0');
    setText(field, "ab");
    EXPECT_EQ(textOf(field), "ab");
    for (std::size_t i = 2; i < sizeof field; ++i)
        EXPECT_EQ(field[i], '\0') << "byte " << i;
}

} // namespace
} // namespace arx
