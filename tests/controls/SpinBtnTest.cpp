#include "controls/Artwork.h"
#include "controls/CSpinBtn.h"
#include "controls/ControlId.h"
#include "seams/Clock.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace arx {
namespace {

constexpr QPoint LeftZone(8, 10);
constexpr QPoint Middle(45, 10);
constexpr QPoint RightZone(82, 10);

std::vector<int> valuesOf(const QSignalSpy &spy)
{
    std::vector<int> values;
    for (const auto &arguments : spy)
        values.push_back(arguments.at(1).toInt());
    return values;
}

void turnWheel(QWidget *widget, int delta)
{
    QWheelEvent event(QPointF(45, 10), widget->mapToGlobal(QPointF(45, 10)), QPoint(),
        QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

class Knob : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(400, 100);
        knob->setGeometry(240, 40, 100, 24);
        setControlId(knob, 1055);
        configure(ValueKind::Frequency, 20, 20000, 1000);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void configure(ValueKind kind, int minimum, int maximum, int value)
    {
        knob->setRange(minimum, maximum);
        knob->setValueKind(kind);
        knob->setValue(value);
    }

    // Lets the clock run on by `ms` and gives the knob its tick.
    void wait(int ms)
    {
        clock.advance(ms);
        knob->advance();
    }

    void holdFor(int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            wait(100);
    }

    ManualClock clock;
    QWidget window;
    CSpinBtn *knob = new CSpinBtn(clock, &window);
    QSignalSpy changed { knob, &CSpinBtn::spinChanged };
};

TEST_F(Knob, TakesTheSizeOfItsBitmapsKeepingItsCorner)
{
    EXPECT_EQ(knob->geometry(), QRect(240, 40, 91, 20));
    EXPECT_EQ(knob->zones().middleStart, 16);
    EXPECT_EQ(knob->zones().rightStart, 74);
}

TEST_F(Knob, SetValueClampsShowsTheFormatAndNotifiesNothing)
{
    EXPECT_EQ(knob->text(), QStringLiteral("1000Hz"));
    knob->setValue(25000);
    EXPECT_EQ(knob->value(), 20000);
    EXPECT_EQ(knob->text(), QStringLiteral("20000Hz"));
    knob->setValue(3);
    EXPECT_EQ(knob->value(), 20);
    configure(ValueKind::Gain, 0, 300, 180);
    EXPECT_EQ(knob->text(), QStringLiteral("G:3.0"));
    configure(ValueKind::SpeakerGain, 0, 300, 180);
    EXPECT_EQ(knob->text(), QStringLiteral("G:0.0"));
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(Knob, FrequencyHeldOnItsRightZoneAcceleratesAfterTheRest)
{
    QTest::mousePress(knob, Qt::LeftButton, {}, RightZone);
    EXPECT_EQ(valuesOf(changed), std::vector<int> { 1001 }) << "one step at the press";
    EXPECT_EQ(changed.at(0).at(0).toInt(), 1055);
    EXPECT_TRUE(knob->hasFocus());

    wait(99);
    wait(1);
    EXPECT_EQ(changed.count(), 1) << "the first 100 ms are the rest";
    EXPECT_TRUE(knob->isRepeating());
    holdFor(4);
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 1001, 1002, 1004, 1007, 1011 }))
        << "+1 at the press, then +1, +2, +3, +4 per tick";
}

TEST_F(Knob, HeldFrequencyStopsAtItsMaximum)
{
    knob->setValue(19990);
    QTest::mousePress(knob, Qt::LeftButton, {}, RightZone);
    wait(100);
    holdFor(8);
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 19991, 19992, 19994, 19997, 20000 }));
    EXPECT_EQ(knob->value(), 20000);
}

TEST_F(Knob, HeldLeftZoneStepsDownToTheMinimum)
{
    knob->setValue(30);
    QTest::mousePress(knob, Qt::LeftButton, {}, LeftZone);
    wait(100);
    holdFor(6);
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 29, 28, 26, 23, 20 }));
}

TEST_F(Knob, PressOnTheLeftZoneAtTheMinimumNotifiesNothingAndDoesNotRepeat)
{
    knob->setValue(20);
    QTest::mousePress(knob, Qt::LeftButton, {}, LeftZone);
    wait(100);
    holdFor(5);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_FALSE(knob->isRepeating());
    EXPECT_EQ(knob->value(), 20);
}

TEST_F(Knob, ReleaseStopsTheRepeatAndItsAcceleration)
{
    QTest::mousePress(knob, Qt::LeftButton, {}, RightZone);
    wait(100);
    holdFor(3); // 1002, 1004, 1007
    QTest::mouseRelease(knob, Qt::LeftButton, {}, RightZone);
    holdFor(5);
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 1001, 1002, 1004, 1007 }));

    QTest::mousePress(knob, Qt::LeftButton, {}, RightZone);
    wait(100);
    holdFor(2);
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 1001, 1002, 1004, 1007, 1008, 1009, 1011 }))
        << "a new hold starts again from 1";
}

TEST_F(Knob, MovingThePointerWhileHeldPostponesTheRepeat)
{
    QTest::mousePress(knob, Qt::LeftButton, {}, QPoint(80, 10));
    wait(60);
    QTest::mouseMove(knob, QPoint(86, 10));
    wait(60);
    EXPECT_FALSE(knob->isRepeating()) << "the rest began again at the move";
    wait(40);
    EXPECT_TRUE(knob->isRepeating());
    QTest::mouseMove(knob, QPoint(81, 10));
    wait(100);
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 1001, 1002 }))
        << "once repeating, moving does not stop it";
}

TEST_F(Knob, HeldSideStepsOnlyWhileThePointerIsOnIt)
{
    QTest::mousePress(knob, Qt::LeftButton, {}, RightZone);
    wait(100);
    holdFor(1); // 1002
    QTest::mouseMove(knob, Middle);
    EXPECT_EQ(knob->hotZone(), KnobZone::Middle);
    holdFor(2);
    QTest::mouseMove(knob, QPoint(-30, 10));
    EXPECT_EQ(knob->hotZone(), KnobZone::Middle) << "off the knob while held";
    holdFor(2);
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 1001, 1002 }));
    QTest::mouseMove(knob, LeftZone);
    holdFor(1);
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 1001, 1002, 1000 }))
        << "back on a side, it steps that way";
}

// In production nobody calls advance(): the knob's own timer does, whenever something is
// due on the clock. The clock here still moves only by hand; the timer merely notices.
TEST_F(Knob, ItsOwnTimerTakesTheStepsThatFallDue)
{
    auto waitFor = [](const std::function<bool()> &done) {
        for (int i = 0; i < 500 && !done(); ++i)
            QTest::qWait(10);
        return done();
    };
    QTest::mousePress(knob, Qt::LeftButton, {}, RightZone);
    clock.advance(100);
    EXPECT_TRUE(waitFor([&] { return knob->isRepeating(); })) << "the rest is noticed";
    clock.advance(100);
    EXPECT_TRUE(waitFor([&] { return changed.count() == 2; })) << "the first repeat is taken";
    QTest::qWait(150);
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 1001, 1002 })) << "no step until it is due";
    QTest::mouseRelease(knob, Qt::LeftButton, {}, RightZone);
}

TEST_F(Knob, NonAcceleratingKindsRepeatByOne)
{
    configure(ValueKind::Gain, 0, 300, 150);
    QTest::mousePress(knob, Qt::LeftButton, {}, RightZone);
    wait(100);
    holdFor(3);
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 151, 152, 153, 154 }));
    EXPECT_EQ(knob->text(), QStringLiteral("G:0.4"));
}

TEST_F(Knob, UnknownKindsIgnorePressesWheelAndKeys)
{
    configure(static_cast<ValueKind>(13), 0, 100, 50);
    EXPECT_EQ(knob->text(), QStringLiteral("NULL"));
    QTest::mousePress(knob, Qt::LeftButton, {}, RightZone);
    wait(100);
    holdFor(3);
    QTest::mouseRelease(knob, Qt::LeftButton, {}, RightZone);
    turnWheel(knob, 120);
    QTest::keyClick(knob, Qt::Key_Up);
    EXPECT_EQ(knob->value(), 50);
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(Knob, WheelNotchAtTheMaximumStillNotifiesTheUnchangedValue)
{
    knob->setValue(20000);
    turnWheel(knob, 120);
    EXPECT_EQ(valuesOf(changed), std::vector<int> { 20000 });
    EXPECT_EQ(changed.at(0).at(0).toInt(), 1055);
}

TEST_F(Knob, WheelStepsOneNotchAtATimeWithoutAcceleration)
{
    turnWheel(knob, 120);
    turnWheel(knob, 120);
    turnWheel(knob, -120);
    turnWheel(knob, 360); // a burst still steps once
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 1001, 1002, 1001, 1002 }));
}

TEST_F(Knob, PartsOfANotchAddUpAndTurningBackStartsOver)
{
    turnWheel(knob, 60);
    EXPECT_EQ(changed.count(), 0) << "half a notch does nothing yet";
    turnWheel(knob, 60);
    EXPECT_EQ(valuesOf(changed), std::vector<int> { 1001 });
    turnWheel(knob, 90);
    turnWheel(knob, -90);
    turnWheel(knob, -20);
    EXPECT_EQ(changed.count(), 1) << "the turn back discarded the 90 up";
    turnWheel(knob, -10);
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 1001, 1000 }));
}

struct KeyRow {
    Qt::Key key;
    int start;
    int expected;
};

std::ostream &operator<<(std::ostream &out, const KeyRow &row)
{
    // QTest::toString hands over a new[] string.
    const std::unique_ptr<char[]> key(QTest::toString(row.key));
    return out << key.get() << " from " << row.start;
}

class KnobKeys : public Knob, public ::testing::WithParamInterface<KeyRow> { };

TEST_P(KnobKeys, ArrowKeysStepByOneAndAlwaysNotify)
{
    knob->setValue(GetParam().start);
    knob->setFocus();
    QTest::keyClick(knob, GetParam().key);
    EXPECT_EQ(valuesOf(changed), std::vector<int> { GetParam().expected });
}

INSTANTIATE_TEST_SUITE_P(Keys, KnobKeys,
    ::testing::Values(KeyRow { Qt::Key_Up, 1000, 1001 }, KeyRow { Qt::Key_Right, 1000, 1001 },
        KeyRow { Qt::Key_Down, 1000, 999 }, KeyRow { Qt::Key_Left, 1000, 999 },
        KeyRow { Qt::Key_Up, 20000, 20000 }, KeyRow { Qt::Key_Left, 20, 20 }));

TEST_F(Knob, OtherKeysDoNothing)
{
    knob->setFocus();
    QTest::keyClick(knob, Qt::Key_PageUp);
    QTest::keyClick(knob, Qt::Key_5);
    EXPECT_EQ(changed.count(), 0);
}

class PartnerKnobs : public Knob {
protected:
    void SetUp() override
    {
        Knob::SetUp();
        upper->setRange(20, 20000);
        upper->setValueKind(ValueKind::FrequencyAbovePartner);
        upper->setValue(1000);
        configure(ValueKind::FrequencyBelowPartner, 20, 20000, 995);
        knob->setPartner(upper);
        upper->setPartner(knob);
    }

    CSpinBtn *upper = new CSpinBtn(clock, &window);
};

TEST_F(PartnerKnobs, WheelAndKeysKeepTheLowerKnobAtOrBelowItsPartner)
{
    knob->setValue(1000);
    turnWheel(knob, 120);
    knob->setFocus();
    QTest::keyClick(knob, Qt::Key_Up);
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 1000, 1000 })) << "held at the partner";
}

TEST_F(PartnerKnobs, HeldLowerKnobStopsAtItsPartner)
{
    QTest::mousePress(knob, Qt::LeftButton, {}, RightZone);
    wait(100);
    holdFor(5);
    EXPECT_EQ(valuesOf(changed), (std::vector<int> { 996, 997, 999, 1000 }));
    EXPECT_EQ(knob->value(), 1000);
}

TEST_F(PartnerKnobs, UpperKnobNeverFallsBelowItsPartner)
{
    QSignalSpy upperChanged(upper, &CSpinBtn::spinChanged);
    upper->setValue(997);
    QTest::mousePress(upper, Qt::LeftButton, {}, LeftZone);
    for (int tick = 0; tick < 4; ++tick) {
        clock.advance(100);
        upper->advance();
    }
    EXPECT_EQ(valuesOf(upperChanged), (std::vector<int> { 996, 995 }));
    QTest::mouseRelease(upper, Qt::LeftButton, {}, LeftZone);
    QTest::mousePress(upper, Qt::LeftButton, {}, LeftZone);
    EXPECT_EQ(upperChanged.count(), 2) << "a press held back by the partner notifies nothing";
}

TEST_F(Knob, TracksTheZoneUnderThePointerAndPaintsItsBitmap)
{
    const QImage left = bitmapImage(141).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage right = bitmapImage(142).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage plain = bitmapImage(140).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    auto paintedAt = [&](QPoint point) {
        QImage shot(knob->size(), QImage::Format_ARGB32_Premultiplied);
        shot.fill(Qt::transparent);
        knob->render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
        return shot.pixel(point);
    };
    const QPoint leftFace(4, 16);
    const QPoint rightFace(86, 16);

    QTest::mouseMove(knob, LeftZone);
    EXPECT_EQ(knob->hotZone(), KnobZone::Left);
    EXPECT_EQ(paintedAt(leftFace), left.pixel(leftFace));
    QTest::mouseMove(knob, Middle);
    EXPECT_EQ(knob->hotZone(), KnobZone::Middle);
    EXPECT_EQ(paintedAt(leftFace), plain.pixel(leftFace));
    QTest::mouseMove(knob, RightZone);
    EXPECT_EQ(knob->hotZone(), KnobZone::Right);
    EXPECT_EQ(paintedAt(rightFace), right.pixel(rightFace));
    ASSERT_NE(right.pixel(rightFace), plain.pixel(rightFace)) << "the lit side looks different";
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(knob, &leave);
    EXPECT_EQ(knob->hotZone(), KnobZone::None);
    EXPECT_EQ(changed.count(), 0) << "hovering changes nothing";
}

struct EntryRow {
    ValueKind kind;
    int minimum;
    int maximum;
    int start;
    float shown;
    float typed;
    int expected;
    const char *text;
};

std::ostream &operator<<(std::ostream &out, const EntryRow &row)
{
    return out << "kind " << int(row.kind) << " typed " << row.typed;
}

class KnobEntry : public Knob, public ::testing::WithParamInterface<EntryRow> { };

TEST_P(KnobEntry, MiddleZoneTakesATypedNumberInDisplayUnits)
{
    const EntryRow &row = GetParam();
    configure(row.kind, row.minimum, row.maximum, row.start);
    std::vector<float> asked;
    knob->setNumericEntry([&](QWidget *, float shown) -> std::optional<float> {
        asked.push_back(shown);
        return row.typed;
    });
    QTest::mousePress(knob, Qt::LeftButton, {}, Middle);
    EXPECT_EQ(asked, std::vector<float> { row.shown }) << "the entry starts from the shown value";
    EXPECT_EQ(valuesOf(changed), std::vector<int> { row.expected });
    EXPECT_EQ(knob->text(), QString::fromUtf8(row.text));
    EXPECT_EQ(knob->hotZone(), KnobZone::None) << "no zone is lit after the entry";
    QTest::mouseRelease(knob, Qt::LeftButton, {}, Middle);
    EXPECT_EQ(changed.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Conversions, KnobEntry,
    ::testing::Values(EntryRow { ValueKind::Gain, 0, 300, 150, 0.0f, 3.0f, 180, "G:3.0" },
        EntryRow { ValueKind::Gain, 0, 300, 150, 0.0f, -20.0f, 0, "G:-15.0" },
        EntryRow { ValueKind::Threshold, 0, 60, 0, 0.0f, -12.0f, 12, "-12dB" },
        EntryRow { ValueKind::SpeakerGain, 0, 300, 180, 0.0f, -6.5f, 115, "G:-6.5" },
        EntryRow { ValueKind::Frequency, 20, 20000, 1000, 1000.0f, 99999.0f, 20000, "20000Hz" },
        EntryRow { ValueKind::Q, 1, 1000, 20, 2.0f, 0.7f, 7, "Q:0.7" },
        EntryRow { ValueKind::Level, 0, 254, 0, 24.0f, -10.0f, 68, "Vol:-10.0" },
        EntryRow { ValueKind::Ratio, 10, 2000, 10, 1.0f, 4.0f, 40, "1:4.0" },
        EntryRow { ValueKind::Attack, 1, 100, 1, 1.0f, 30.0f, 30, "30ms" }));

TEST_F(Knob, MiddleOfKindsWithoutAnEntryDoesNothing)
{
    for (const ValueKind kind : { ValueKind::Delay, ValueKind::LevelDbu, ValueKind::Percentage,
             ValueKind::FrequencyBelowPartner }) {
        configure(kind, 0, 1000, 100);
        bool asked = false;
        knob->setNumericEntry([&](QWidget *, float) -> std::optional<float> {
            asked = true;
            return 5.0f;
        });
        QTest::mouseClick(knob, Qt::LeftButton, {}, Middle);
        EXPECT_FALSE(asked) << "kind " << int(kind) << " opens no entry";
        EXPECT_EQ(knob->value(), 100);
    }
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(Knob, CancelledEntryLeavesTheValue)
{
    knob->setNumericEntry([](QWidget *, float) -> std::optional<float> { return std::nullopt; });
    QTest::mouseClick(knob, Qt::LeftButton, {}, Middle);
    EXPECT_EQ(knob->value(), 1000);
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(Knob, DisabledKnobIgnoresThePointer)
{
    knob->setEnabled(false);
    QTest::mouseClick(knob, Qt::LeftButton, {}, RightZone);
    EXPECT_EQ(knob->value(), 1000);
    EXPECT_EQ(changed.count(), 0);
}

} // namespace
} // namespace arx
