// The selection's range rule: Shift+click runs over the strips as they are shown, from the
// last plain click, and never reaches a strip that is not shown.
#include "mic/StripSelection.h"

#include <gtest/gtest.h>

namespace arx {
namespace {

TEST(StripSelection, ShiftRangeRunsOverTheShownStripsFromTheAnchorEitherWay)
{
    const std::vector<int> shown { 1, 4, 5, 9, 20 };
    StripSelection selection;
    selection.click(9, false, shown);
    selection.click(4, true, shown); // upwards; 6, 7 and 8 are not shown
    EXPECT_EQ(selection.selected(), (std::vector<int> { 4, 5, 9 }));
    selection.click(20, true, shown); // the anchor is still 9
    EXPECT_EQ(selection.selected(), (std::vector<int> { 4, 5, 9, 20 }));

    // A plain click unselects and moves the anchor; a strip not shown changes nothing.
    selection.click(5, false, shown);
    selection.click(7, false, shown);
    selection.click(7, true, shown);
    EXPECT_EQ(selection.selected(), (std::vector<int> { 4, 9, 20 }));
    selection.click(1, true, shown);
    EXPECT_EQ(selection.selected(), (std::vector<int> { 1, 4, 5, 9, 20 }));

    // Without an anchor among the shown strips, Shift is a plain click.
    selection.remove(5);
    selection.click(20, true, std::vector<int> { 9, 20 });
    EXPECT_EQ(selection.selected(), (std::vector<int> { 1, 4, 9 }));
}

TEST(StripSelection, AChangeGoesToTheSelectionOnlyFromAStripInASelectionOfSeveral)
{
    const std::vector<int> shown { 0, 1, 2, 3 };
    StripSelection selection;
    selection.click(2, false, shown);
    EXPECT_EQ(selection.targetsOf(2), std::vector<int> { 2 });
    selection.click(0, true, shown);
    EXPECT_EQ(selection.targetsOf(1), (std::vector<int> { 0, 1, 2 }));
    EXPECT_EQ(selection.targetsOf(3), std::vector<int> { 3 });
    selection.clear();
    selection.click(3, true, shown);
    EXPECT_EQ(selection.selected(), std::vector<int> { 3 });
}

} // namespace
} // namespace arx
