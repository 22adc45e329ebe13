// The drop-down colour button and its palette: what it shows, what a pick reports, and the
// ways of closing the palette without one.
#include "controls/CColourButton.h"
#include "controls/ControlId.h"
#include "model/RingColours.h"

#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include <algorithm>

namespace arx {
namespace {

struct ColourButton {
    test::ScriptedPrompts prompts;
    QWidget owner;
    CColourButton *button = new CColourButton(prompts, &owner);
    QSignalSpy picked { button, &CColourButton::colourPicked };

    ColourButton()
    {
        setControlId(button, 1145);
        owner.resize(200, 100);
        button->setGeometry(20, 20, 50, 20);
        owner.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&owner));
    }
    CColourPalette *open()
    {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(button->isPaletteShown());
        return button->palette();
    }
    void release(QPoint at) { QTest::mouseClick(button->palette(), Qt::LeftButton, {}, at); }
};

TEST(ColourButton, PaletteStartsWithTheEightRingColoursInIndexOrder)
{
    const auto &colours = CColourPalette::colours();
    ASSERT_GT(colours.size(), 16u) << "more than the ring colours";
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(colours[i], wideColour(colourIndexTable[i])) << i;
    EXPECT_EQ(colours[1], 0x0000FFu) << "red in the low byte";
    std::vector<std::uint32_t> sorted = colours;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end())
        << "no swatch repeats another";
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const QRect swatch = CColourPalette::swatchRect(static_cast<int>(i));
        EXPECT_EQ(CColourPalette::hitAt(swatch.center()), static_cast<int>(i));
        EXPECT_TRUE(QRect(QPoint(0, 0), CColourPalette::paletteSize()).contains(swatch));
    }
    EXPECT_EQ(CColourPalette::hitAt(CColourPalette::moreRect().center()), CColourPalette::MoreHit);
    EXPECT_EQ(CColourPalette::hitAt({ 1, 1 }), CColourPalette::NoHit);
}

TEST(ColourButton, ASwatchPickKeepsTheColourAndReportsTheButtonsId)
{
    ColourButton fixture;
    fixture.open();
    fixture.release(CColourPalette::swatchRect(1).center());
    EXPECT_FALSE(fixture.button->isPaletteShown());
    EXPECT_EQ(fixture.button->colour(), 0x0000FFu);
    ASSERT_EQ(fixture.picked.count(), 1);
    EXPECT_EQ(fixture.picked.at(0).at(0).toInt(), 1145);
}

TEST(ColourButton, MoreColoursAsksTheDialogOnTheHeldColourAndCancelPicksNothing)
{
    ColourButton fixture;
    fixture.button->setColour(0xFF123456u);
    EXPECT_EQ(fixture.button->colour(), 0x123456u) << "24 bits are kept";
    EXPECT_EQ(fixture.picked.count(), 0) << "a colour the strip sets is not a pick";

    fixture.prompts.colours.push_back(0x00FF80u);
    fixture.open();
    fixture.release(CColourPalette::moreRect().center());
    EXPECT_EQ(fixture.prompts.colourDialogsOpened, std::vector<std::uint32_t> { 0x123456u });
    EXPECT_EQ(fixture.button->colour(), 0x00FF80u);
    EXPECT_EQ(fixture.picked.count(), 1);

    fixture.open();
    fixture.release(CColourPalette::moreRect().center()); // nothing queued: cancelled
    EXPECT_EQ(fixture.button->colour(), 0x00FF80u);
    EXPECT_EQ(fixture.picked.count(), 1);
}

TEST(ColourButton, EscapeOrAClickBesideTheSwatchesClosesWithoutAPick)
{
    ColourButton fixture;
    fixture.button->setColour(0x00FF00u);
    QTest::keyClick(fixture.open(), Qt::Key_Escape);
    EXPECT_FALSE(fixture.button->isPaletteShown());

    fixture.open();
    fixture.release({ 1, 1 }); // the palette's margin: stays open, nothing picked
    EXPECT_TRUE(fixture.button->isPaletteShown());
    fixture.button->palette()->close(); // what a click outside a pop-up does
    EXPECT_EQ(fixture.button->colour(), 0x00FF00u);
    EXPECT_EQ(fixture.picked.count(), 0);
}

} // namespace
} // namespace arx
