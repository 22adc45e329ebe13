// The strip as the operator uses it: clicked through the page's window on recording seams,
// asserted on the store, on the controls and on the exact frames.
#include "mic/CMicDlg.h"

#include "controls/CColourButton.h"
#include "controls/CComBoxBtn.h"
#include "controls/CDropList.h"
#include "controls/CListWnd.h"
#include "controls/CStaticST.h"
#include "controls/MyComboBox.h"
#include "controls/PngButton.h"

#include "RecordingLink.h"
#include "ScriptedPrompts.h"
#include "TestRoom.h"
#include "WindowDriver.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace arx {
namespace {

constexpr int Mute = 1123, Phantom = 1124, LowCut = 1125, Locate = 1126, Ok = 1127;
constexpr int Gain = 1128, Mode = 1130, Copy = 1131, Close = 1138, Equaliser = 1143;
constexpr int Picture = 1142;

struct StripPage : test::TestRoom {
    CMicDlg page { room, prompts };
    test::WindowDriver driver { page };

    StripPage()
    {
        page.resize(960, 600);
        page.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&page));
    }
    DeviceRecord &addUnit(
        int slot, std::int32_t type, const std::string &name = {}, bool online = true)
    {
        DeviceRecord &unit = store->unitTable[static_cast<std::size_t>(slot)];
        unit.type = type;
        unit.inUse = online ? 1 : 0;
        setText(unit.name, name.empty() ? "Seat " + std::to_string(slot + 1) : name);
        setText(unit.ip, "127.0.50." + std::to_string(10 + slot));
        return unit;
    }
    CInputDlg *show(int slot, std::int32_t type, bool online = true)
    {
        addUnit(slot, type, {}, online);
        page.ShowStrip(slot);
        return page.strip(slot);
    }
    template <class Control = QWidget> Control *in(CInputDlg *strip, int id)
    {
        // By type too: the selectors' drop lists carry ids of their own (1125).
        for (Control *found : strip->findChildren<Control *>()) {
            if (controlId(found) == id)
                return found;
        }
        ADD_FAILURE() << "control " << id << " exists with its type";
        return nullptr;
    }
    // An entry chosen from a selector's open list, as the list reports it.
    void choose(CInputDlg *strip, int selectorId, int index)
    {
        CComBoxBtn *selector = in<CComBoxBtn>(strip, selectorId);
        selector->dropList()->setCurrentSelection(index);
        emit selector->listWindow()->dropListSelect(CDropList::ListControlId, index);
    }
    std::vector<char> letters() const
    {
        std::vector<char> sent;
        for (const auto &frame : link.frames)
            sent.push_back(static_cast<char>(frame.at(1)));
        return sent;
    }
};

QStringList entries(CComBoxBtn *selector)
{
    QStringList texts;
    for (int i = 0; i < selector->dropList()->entryCount(); ++i)
        texts << selector->dropList()->entryText(i);
    return texts;
}

struct TypeRow {
    std::int32_t type;
    int gainEntries;
    bool phantom, equaliser, colourLabels, combos, buttons;
};

class StripControlsByType : public ::testing::TestWithParam<TypeRow> { };

TEST_P(StripControlsByType, ShowTheFamilysGainListAndControls)
{
    const TypeRow &row = GetParam();
    StripPage fixture;
    CInputDlg *strip = fixture.show(0, row.type);
    EXPECT_EQ(fixture.in<CComBoxBtn>(strip, Gain)->dropList()->entryCount(), row.gainEntries);
    EXPECT_EQ(fixture.in(strip, Phantom)->isVisible(), row.phantom);
    EXPECT_EQ(fixture.in(strip, Equaliser)->isVisible(), row.equaliser);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(fixture.in(strip, 1113 + i)->isVisible(), row.colourLabels) << 1113 + i;
        EXPECT_EQ(fixture.in(strip, 1139 + i)->isVisible(), row.combos) << 1139 + i;
        EXPECT_EQ(fixture.in(strip, 1144 + i)->isVisible(), row.buttons) << 1144 + i;
    }
    for (int id : { Mute, LowCut, Locate, Ok, Close })
        EXPECT_TRUE(fixture.in<PngButton>(strip, id)->isVisible()) << id;
    for (int id : { Gain, Mode, Copy })
        EXPECT_TRUE(fixture.in<CComBoxBtn>(strip, id)->isVisible()) << id;
    EXPECT_EQ(
        entries(fixture.in<CComBoxBtn>(strip, Mode)), QStringList({ "OFF", "ON", "PTT", "PTM" }));
}

INSTANTIATE_TEST_SUITE_P(EveryType, StripControlsByType,
    ::testing::Values(TypeRow { 1, 6, true, false, true, true, false },
        TypeRow { 2, 8, false, false, true, true, false },
        TypeRow { 3, 6, false, true, true, false, true },
        TypeRow { 4, 6, true, false, false, false, false },
        TypeRow { 5, 8, false, false, false, false, false }));

TEST(CInputDlg, LabelsKeepTheirCaptionsUntilTheFirstRefreshAndTakeTheStripColour)
{
    StripPage fixture;
    CInputDlg *hidden = fixture.page.strip(4);
    EXPECT_EQ(fixture.in<CStaticST>(hidden, 1110)->text(), "NAME:");
    EXPECT_EQ(fixture.in<CStaticST>(hidden, 1111)->text(), "IP:");
    CInputDlg *odd = fixture.show(0, UnitTypeArn1);
    CInputDlg *even = fixture.show(1, UnitTypeArn1);
    EXPECT_EQ(fixture.in<CStaticST>(odd, 1110)->text(), "Name:Seat 1");
    EXPECT_EQ(fixture.in<CStaticST>(odd, 1111)->text(), "IP:127.0.50.10");
    EXPECT_EQ(odd->stripColour(), QColor(0x52, 0x52, 0x52)) << "slot 1 is odd";
    EXPECT_EQ(even->stripColour(), QColor(0x3A, 0x3A, 0x3A));
    EXPECT_EQ(fixture.in(odd, Close)->geometry(), QRect(odd->width() - 30, 5, 24, 24));
    odd->resize(700, 80);
    EXPECT_EQ(fixture.in(odd, Close)->pos(), QPoint(670, 5)) << "placed again on resize";
}

TEST(CInputDlg, Pxl2GainNineShowsPlusNineAndPlusFifteenStoresFifteenOnlineOrOffline)
{
    for (bool online : { true, false }) {
        StripPage fixture;
        fixture.addUnit(0, UnitTypePxl2, {}, online).gain = 9;
        fixture.page.ShowStrip(0);
        CInputDlg *strip = fixture.page.strip(0);
        EXPECT_EQ(fixture.in<CComBoxBtn>(strip, Gain)->text(), "+9dB");
        fixture.choose(strip, Gain, 5);
        EXPECT_EQ(fixture.store->unitTable[0].gain, 15);
        EXPECT_EQ(
            fixture.letters(), (online ? std::vector<char> { 'A', 'A' } : std::vector<char> {}));
    }

    StripPage velk;
    velk.addUnit(0, UnitTypeVelK).gain = 0;
    velk.page.ShowStrip(0);
    EXPECT_EQ(velk.in<CComBoxBtn>(velk.page.strip(0), Gain)->text(), "-6dB");
}

TEST(CInputDlg, ClickingAToggleFlipsItStoresAndSendsTwice)
{
    StripPage fixture;
    CInputDlg *strip = fixture.show(1, UnitTypeVelK);
    fixture.driver.click(fixture.in(strip, Mute));
    EXPECT_EQ(fixture.in<PngButton>(strip, Mute)->state(), 1);
    EXPECT_EQ(fixture.store->unitTable[1].micMute, 1);
    EXPECT_EQ(fixture.link.log,
        (std::vector<std::string> { "25 48 00 00 01 00 00 23 -> 127.0.50.11:39030", "pause 10",
            "pause 20", "25 48 00 00 01 00 00 23 -> 127.0.50.11:39030", "pause 10" }));
    fixture.driver.click(fixture.in(strip, Mute));
    EXPECT_EQ(fixture.store->unitTable[1].micMute, 0);
    fixture.choose(strip, Mode, 3);
    EXPECT_EQ(fixture.store->unitTable[1].mode, 3);
}

TEST(CInputDlg, AClosedStripShownAgainAfterItsUnitChangedTypeGetsTheNewControls)
{
    StripPage fixture;
    CInputDlg *strip = fixture.show(2, UnitTypeArn1);
    fixture.driver.click(fixture.in(strip, Close));
    EXPECT_FALSE(strip->isVisible());
    EXPECT_FALSE(strip->isStripShown());

    fixture.store->unitTable[2].type = UnitTypeVelK;
    fixture.page.ShowStrip(2);
    EXPECT_TRUE(strip->isVisible());
    EXPECT_EQ(fixture.in<CComBoxBtn>(strip, Gain)->dropList()->entryCount(), 8);
    EXPECT_FALSE(fixture.in(strip, Phantom)->isVisible());
}

TEST(CInputDlg, CopyListHoldsNamesAndOkCopiesOnlyANamedSource)
{
    StripPage fixture;
    fixture.addUnit(0, UnitTypeArn1, "NULL").gain = 4; // a unit may be called so
    fixture.addUnit(1, UnitTypeArn1, "\xBB\xE1\xD2").gain = 5; // cut inside its second character
    fixture.addUnit(3, UnitTypeVelK);
    CInputDlg *strip = fixture.show(2, UnitTypeArn1);
    CComBoxBtn *copy = fixture.in<CComBoxBtn>(strip, Copy);
    EXPECT_EQ(entries(copy), QStringList({ "NULL", "NULL", "会" }));
    EXPECT_EQ(copy->text(), "NULL");

    fixture.driver.click(fixture.in(strip, Ok));
    EXPECT_EQ(fixture.store->unitTable[2].gain, 0) << "the first entry means no source";

    fixture.choose(strip, Copy, 2);
    EXPECT_TRUE(fixture.link.log.empty()) << "a choice in the COPY list sends nothing";
    fixture.driver.click(fixture.in(strip, Ok));
    EXPECT_EQ(fixture.store->unitTable[2].gain, 5) << "matched by its bytes";
    EXPECT_EQ(fixture.in<CComBoxBtn>(strip, Gain)->text(), "+15dB") << "refreshed";
    EXPECT_EQ(fixture.letters(), (std::vector<char> { 'M', 'A' }));
}

TEST(CInputDlg, LocateTimesOutOnTheRoomsTickAlsoWhileTheStripIsClosed)
{
    StripPage fixture;
    CInputDlg *strip = fixture.show(0, UnitTypeArn1);
    auto *locate = fixture.in<PngButton>(strip, Locate);
    fixture.driver.click(locate);
    ASSERT_EQ(locate->state(), 1);
    fixture.clock.advance(10100);
    fixture.room.tick();
    EXPECT_EQ(locate->state(), 0) << "the strip shows what the room announced";
    EXPECT_EQ(fixture.store->unitTable[0].locate, 0);
    EXPECT_EQ(fixture.letters(), (std::vector<char> { 'A', 'A', 'A', 'A' }));

    fixture.driver.click(locate);
    fixture.driver.click(fixture.in(strip, Close));
    fixture.clock.advance(10100);
    fixture.room.tick();
    EXPECT_EQ(fixture.store->unitTable[0].locate, 0) << "the unit's time-out needs no strip";
    fixture.page.ShowStrip(0);
    EXPECT_EQ(locate->state(), 0);
}

TEST(CInputDlg, ColourPickedOnAPxl2StripIsStoredAndSentWide)
{
    StripPage fixture;
    CInputDlg *strip = fixture.show(0, UnitTypePxl2);
    auto *open = fixture.in<CColourButton>(strip, 1144);
    QTest::mouseClick(open, Qt::LeftButton);
    QTest::mouseClick(open->palette(), Qt::LeftButton, {}, CColourPalette::swatchRect(1).center());
    EXPECT_EQ(fixture.store->unitTable[0].colourOpen, 0x0000FF) << "pure red, red in the low byte";
    ASSERT_EQ(fixture.letters(), (std::vector<char> { 'P', 'P' }));
    const auto &frame = fixture.link.frames[0];
    EXPECT_EQ(std::vector<std::uint8_t>(frame.begin() + 10, frame.begin() + 13),
        (std::vector<std::uint8_t> { 0xFF, 0x00, 0x00 }));

    fixture.store->unitTable[0].colourCall = 0x00FF00;
    fixture.page.refreshStrip(0);
    EXPECT_EQ(fixture.in<CColourButton>(strip, 1146)->colour(), 0x00FF00u);
}

TEST(CInputDlg, ColourComboOfAnArn1StripStoresTheIndexAndSendsColours)
{
    StripPage fixture;
    CInputDlg *strip = fixture.show(0, UnitTypeArn1);
    auto *mute = fixture.in<MyComboBox>(strip, 1140);
    EXPECT_EQ(mute->count(), 8);
    emit mute->activated(6);
    EXPECT_EQ(fixture.store->unitTable[0].colourMute, 6);
    EXPECT_EQ(fixture.letters(), (std::vector<char> { 'M', 'M' }));
}

TEST(CInputDlg, EqualiserButtonRunsTheOpenerForItsRecordThenRefreshes)
{
    StripPage fixture;
    std::vector<int> opened;
    fixture.page.setEqualiserOpener([&](int deviceIndex) {
        opened.push_back(deviceIndex);
        fixture.store->unitTable[6].lowCut = 1; // as the dialog may
    });
    CInputDlg *strip = fixture.show(6, UnitTypePxl2);
    fixture.driver.click(fixture.in(strip, Equaliser));
    EXPECT_EQ(opened, std::vector<int> { 6 });
    EXPECT_EQ(fixture.in<PngButton>(strip, LowCut)->state(), 1);
}

// Where each frame went, in order, and its letter.
std::vector<std::string> sentTo(const test::RecordingLink &link)
{
    std::vector<std::string> sent;
    for (const std::string &line : link.log) {
        const std::size_t arrow = line.find(" -> ");
        if (arrow != std::string::npos)
            sent.push_back(std::string(1, static_cast<char>(link.frames.at(sent.size()).at(1)))
                + " " + line.substr(arrow + 4));
    }
    return sent;
}

TEST(CInputDlg, AChangeOnASelectedStripGoesToEverySelectedUnitWithItsFamilysFrames)
{
    StripPage fixture;
    CInputDlg *arn1 = fixture.show(0, UnitTypeArn1);
    CInputDlg *velk = fixture.show(2, UnitTypeVelK);
    fixture.show(5, UnitTypePxl2);
    CInputDlg *outside = fixture.show(6, UnitTypeArn1);
    fixture.store->unitTable[2].micMute = 1; // muted already: it is sent the mute all the same
    QSignalSpy outcomes(&fixture.page, &CMicDlg::selectionChangeApplied);

    // Picture of slot 1, then Shift on slot 6: the shown strips between, slot 7 left out.
    fixture.driver.click(fixture.in(arn1, Picture));
    fixture.driver.shiftClick(fixture.in(fixture.page.strip(5), Picture));
    EXPECT_EQ(fixture.page.selection().selected(), (std::vector<int> { 0, 2, 5 }));
    EXPECT_TRUE(velk->isSelected());
    EXPECT_FALSE(outside->isSelected());

    fixture.driver.click(fixture.in(arn1, Mute));
    EXPECT_EQ(sentTo(fixture.link),
        (std::vector<std::string> { "A 127.0.50.10:39030", "A 127.0.50.10:39030",
            "H 127.0.50.12:39030", "H 127.0.50.12:39030", "A 127.0.50.15:39030",
            "A 127.0.50.15:39030" }));
    for (int slot : { 0, 2, 5 })
        EXPECT_EQ(fixture.store->unitTable[static_cast<std::size_t>(slot)].micMute, 1) << slot;
    EXPECT_EQ(fixture.in<PngButton>(velk, Mute)->state(), 1);
    EXPECT_EQ(outcomes.takeFirst(), (QList<QVariant> { 3, 0 }));

    // 48 V: only the ARN1 unit has it. -6 dB: only the VEL-K unit's list holds it.
    fixture.link.clear();
    fixture.driver.click(fixture.in(arn1, Phantom));
    EXPECT_EQ(sentTo(fixture.link),
        (std::vector<std::string> { "A 127.0.50.10:39030", "A 127.0.50.10:39030" }));
    EXPECT_EQ(outcomes.takeFirst(), (QList<QVariant> { 1, 2 }));
    fixture.link.clear();
    fixture.choose(velk, Gain, 0);
    EXPECT_EQ(sentTo(fixture.link),
        (std::vector<std::string> { "H 127.0.50.12:39030", "H 127.0.50.12:39030" }));
    EXPECT_EQ(outcomes.takeFirst(), (QList<QVariant> { 1, 2 }));
    EXPECT_EQ(fixture.in<CComBoxBtn>(arn1, Gain)->text(), "0dB");

    // A strip outside the selection changes its own unit only.
    fixture.link.clear();
    fixture.driver.click(fixture.in(outside, Mute));
    EXPECT_EQ(sentTo(fixture.link),
        (std::vector<std::string> { "A 127.0.50.16:39030", "A 127.0.50.16:39030" }));
    EXPECT_TRUE(outcomes.isEmpty());
}

TEST(CInputDlg, TheSelectionSurvivesScrollingAndLeavesWithAClosedStrip)
{
    StripPage fixture;
    for (int slot : { 0, 1, 12, 13 })
        fixture.show(slot, UnitTypeArn1);
    fixture.page.selectAllStrips();
    fixture.driver.click(fixture.in(fixture.page.strip(1), Picture)); // unselects it

    fixture.page.verticalScrollBar()->setValue(1 + 12 * CMicDlg::StripPitch);
    CInputDlg *low = fixture.page.strip(12);
    EXPECT_EQ(low->y(), CMicDlg::StripTop) << "scrolled to slot 13";
    EXPECT_TRUE(low->isSelected());
    fixture.link.clear();
    fixture.driver.click(fixture.in(low, Mute));
    EXPECT_EQ(sentTo(fixture.link).size(), 6u) << "slots 1, 13 and 14, out of sight or not";
    EXPECT_EQ(fixture.store->unitTable[1].micMute, 0);

    // Shift on the strip under the first: the range runs from the last plain click (slot 2).
    fixture.driver.shiftClick(fixture.in(fixture.page.strip(13), Picture));
    EXPECT_EQ(fixture.page.selection().selected(), (std::vector<int> { 0, 1, 12, 13 }));
    fixture.driver.click(fixture.in(fixture.page.strip(13), Close));
    EXPECT_EQ(fixture.page.selection().selected(), (std::vector<int> { 0, 1, 12 }));
    fixture.page.clearSelection();
    EXPECT_FALSE(low->isSelected());
}

} // namespace
} // namespace arx
