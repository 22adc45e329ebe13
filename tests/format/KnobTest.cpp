#include "format/KnobRepeat.h"
#include "format/KnobStepping.h"
#include "format/KnobZones.h"

#include <gtest/gtest.h>

namespace arx {
namespace {

TEST(KnobZones, The91PixelKnobSplitsAt16And74)
{
    const KnobZones zones = KnobZones::forSize(91, 20);
    EXPECT_EQ(zones.middleStart, 16);
    EXPECT_EQ(zones.rightStart, 74);
    EXPECT_EQ(zones.zoneAt(0, 10), KnobZone::Left);
    EXPECT_EQ(zones.zoneAt(15, 10), KnobZone::Left);
    EXPECT_EQ(zones.zoneAt(16, 10), KnobZone::Middle);
    EXPECT_EQ(zones.zoneAt(73, 10), KnobZone::Middle);
    EXPECT_EQ(zones.zoneAt(74, 10), KnobZone::Right);
    EXPECT_EQ(zones.zoneAt(90, 19), KnobZone::Right);
}

TEST(KnobZones, PointsOffTheKnobAreInNoZone)
{
    const KnobZones zones = KnobZones::forSize(91, 20);
    EXPECT_EQ(zones.zoneAt(-1, 10), KnobZone::None);
    EXPECT_EQ(zones.zoneAt(91, 10), KnobZone::None);
    EXPECT_EQ(zones.zoneAt(40, -1), KnobZone::None);
    EXPECT_EQ(zones.zoneAt(40, 20), KnobZone::None);
}

TEST(KnobZones, OtherWidthsTruncateTheirBoundaries)
{
    const KnobZones zones = KnobZones::forSize(100, 24);
    EXPECT_EQ(zones.middleStart, 18) << "100 / 5.5 = 18.18";
    EXPECT_EQ(zones.rightStart, 81) << "100 - 18.18 = 81.8";
}

TEST(KnobStepping, DocumentedKindsStepAndOthersDoNot)
{
    for (const int kind : { 4, 7, 8, 9, 10, 11, 12, 42, 43, 44, 45, 46, 47, 48 })
        EXPECT_TRUE(stepsValue(static_cast<ValueKind>(kind))) << "kind " << kind << " steps";
    for (const int kind : { 0, 1, 5, 13, 41, 49, 100 })
        EXPECT_FALSE(stepsValue(static_cast<ValueKind>(kind))) << "kind " << kind << " is inert";
    for (const int kind : { 4, 8, 9 })
        EXPECT_TRUE(acceleratesWhileHeld(static_cast<ValueKind>(kind))) << "kind " << kind;
    for (const int kind : { 7, 10, 11, 12, 42, 43, 48 })
        EXPECT_FALSE(acceleratesWhileHeld(static_cast<ValueKind>(kind))) << "kind " << kind;
}

TEST(KnobStepping, StepsStayWithinTheRange)
{
    const KnobLimits limits { 20, 20000, std::nullopt };
    EXPECT_EQ(steppedValue(ValueKind::Frequency, 1000, 3, limits), 1003);
    EXPECT_EQ(steppedValue(ValueKind::Frequency, 19998, 5, limits), 20000);
    EXPECT_EQ(steppedValue(ValueKind::Frequency, 22, -5, limits), 20);
}

TEST(KnobStepping, LowerPartnerFrequencyNeverRisesAboveItsPartner)
{
    const KnobLimits limits { 20, 20000, 500 };
    EXPECT_EQ(steppedValue(ValueKind::FrequencyBelowPartner, 498, 5, limits), 500);
    EXPECT_EQ(steppedValue(ValueKind::FrequencyBelowPartner, 500, 1, limits), 500);
    EXPECT_EQ(steppedValue(ValueKind::FrequencyBelowPartner, 800, -1, limits), 500)
        << "a value above its partner is brought down to it";
    EXPECT_EQ(steppedValue(ValueKind::FrequencyBelowPartner, 300, -4, limits), 296);
}

TEST(KnobStepping, UpperPartnerFrequencyNeverFallsBelowItsPartner)
{
    const KnobLimits limits { 20, 20000, 500 };
    EXPECT_EQ(steppedValue(ValueKind::FrequencyAbovePartner, 502, -5, limits), 500);
    EXPECT_EQ(steppedValue(ValueKind::FrequencyAbovePartner, 500, -1, limits), 500);
    EXPECT_EQ(steppedValue(ValueKind::FrequencyAbovePartner, 100, 1, limits), 500);
    EXPECT_EQ(steppedValue(ValueKind::FrequencyAbovePartner, 800, 4, limits), 804);
}

TEST(KnobStepping, PartnerBeyondTheRangeYieldsToTheRange)
{
    EXPECT_EQ(steppedValue(ValueKind::FrequencyAbovePartner, 100, 1, { 20, 200, 500 }), 200);
    EXPECT_EQ(steppedValue(ValueKind::FrequencyBelowPartner, 100, -1, { 50, 200, 10 }), 50);
}

TEST(KnobStepping, OnlyThePartnerKindsReadThePartner)
{
    EXPECT_EQ(steppedValue(ValueKind::Frequency, 498, 5, { 20, 20000, 500 }), 503);
}

TEST(KnobRepeat, StepsEveryPeriodOnceThePointerHasRested)
{
    KnobRepeat repeat;
    repeat.arm(1000);
    EXPECT_FALSE(repeat.takeDueStep(1099)) << "still resting";
    EXPECT_FALSE(repeat.takeDueStep(1100)) << "rest noticed: the timer starts now";
    EXPECT_TRUE(repeat.isRepeating());
    EXPECT_FALSE(repeat.takeDueStep(1199));
    EXPECT_TRUE(repeat.takeDueStep(1200)) << "first step a period after the rest";
    EXPECT_FALSE(repeat.takeDueStep(1200)) << "one step per period";
    EXPECT_TRUE(repeat.takeDueStep(1300));
    EXPECT_TRUE(repeat.takeDueStep(1400));
}

TEST(KnobRepeat, MovingThePointerRestartsTheRestButNotARunningRepeat)
{
    KnobRepeat repeat;
    repeat.arm(0);
    repeat.pointerMoved(80);
    EXPECT_FALSE(repeat.takeDueStep(150));
    EXPECT_FALSE(repeat.isRepeating()) << "the rest began again at 80";
    EXPECT_FALSE(repeat.takeDueStep(180));
    EXPECT_TRUE(repeat.isRepeating());
    repeat.pointerMoved(250);
    EXPECT_TRUE(repeat.takeDueStep(280)) << "a moving pointer does not stop the repeat";
}

TEST(KnobRepeat, LateCallsTakeOneStepAndDoNotCatchUp)
{
    KnobRepeat repeat;
    repeat.arm(0);
    EXPECT_TRUE(repeat.takeDueStep(650)) << "rest noticed and one step taken";
    EXPECT_FALSE(repeat.takeDueStep(650)) << "missed steps are not fired in a burst";
    EXPECT_EQ(repeat.nextDueAt(), 750);
}

TEST(KnobRepeat, DisarmingStopsEverything)
{
    KnobRepeat repeat;
    EXPECT_EQ(repeat.nextDueAt(), std::nullopt) << "idle until armed";
    repeat.arm(0);
    EXPECT_EQ(repeat.nextDueAt(), 100) << "due when the rest is complete";
    EXPECT_FALSE(repeat.takeDueStep(100));
    EXPECT_EQ(repeat.nextDueAt(), 200);
    repeat.disarm();
    EXPECT_FALSE(repeat.isArmed());
    EXPECT_FALSE(repeat.takeDueStep(1000));
    EXPECT_EQ(repeat.nextDueAt(), std::nullopt);
}

} // namespace
} // namespace arx
