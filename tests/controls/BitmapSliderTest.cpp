#include "controls/Artwork.h"
#include "controls/CBitmapSlider.h"
#include "controls/ControlId.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <ostream>

namespace arx {
namespace {

constexpr int SliderId = 1109;

QImage renderOf(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The speaker page's level slider: channel 247 x 19 (170 lit, 168 unlit), thumb 16 x 19.
class LevelSlider : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(400, 100);
        slider->setGeometry(120, 40, 150, 24);
        setControlId(slider, SliderId);
        slider->setChannelImages(170, 168);
        slider->setThumbImages(147, 147);
        slider->setRange(0, 254);
        slider->setPageStep(20);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // The thumb's centre pixel along the slider.
    int thumbCentre() const { return slider->thumbRect().left() + 8; }

    QWidget window;
    CBitmapSlider *slider = new CBitmapSlider(&window);
    QSignalSpy moving { slider, &CBitmapSlider::sliderMoving };
    QSignalSpy moved { slider, &CBitmapSlider::sliderMoved };
    QSignalSpy doubleClicked { slider, &CBitmapSlider::sliderDoubleClicked };
};

TEST_F(LevelSlider, TakesTheSizeOfItsChannelImageKeepingItsCorner)
{
    EXPECT_EQ(slider->geometry(), QRect(120, 40, 247, 19));
    EXPECT_EQ(slider->thumbRect().size(), QSize(16, 19));
}

TEST_F(LevelSlider, DrawsTheThumbCentredOnThePositionsPixel)
{
    slider->setPosition(254);
    EXPECT_EQ(thumbCentre(), 239);
    EXPECT_EQ(slider->thumbRect(), QRect(231, 0, 16, 19));
    slider->setPosition(0);
    EXPECT_EQ(thumbCentre(), 8);
    EXPECT_EQ(slider->thumbRect(), QRect(0, 0, 16, 19));
}

TEST_F(LevelSlider, SetPositionClampsAndNotifiesNothing)
{
    slider->setPosition(300);
    EXPECT_EQ(slider->position(), 254);
    slider->setPosition(-3);
    EXPECT_EQ(slider->position(), 0);
    EXPECT_EQ(moving.count() + moved.count() + doubleClicked.count(), 0);
}

TEST_F(LevelSlider, ClickFarFromTheThumbJumpsToThePointerAndNotifiesMoving)
{
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(120, 9));
    ASSERT_EQ(moving.count(), 1);
    EXPECT_EQ(moving.at(0).at(0).toInt(), SliderId);
    EXPECT_EQ(moving.at(0).at(1).toInt(), 123) << "(120 - 8) * 254 / 231, truncated";
    EXPECT_EQ(slider->position(), 123);
    EXPECT_EQ(moved.count(), 0) << "moved waits for the release";
    EXPECT_TRUE(slider->isDragging());
    EXPECT_TRUE(slider->hasFocus());

    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(120, 9));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).toInt(), SliderId);
    EXPECT_EQ(moved.at(0).at(1).toInt(), 123);
    EXPECT_FALSE(slider->isDragging());
    EXPECT_EQ(moving.count(), 1);
}

TEST_F(LevelSlider, ClickOnTheThumbDoesNotMoveIt)
{
    slider->setPosition(100);
    const int centre = thumbCentre();
    for (const int offset : { -8, -3, 0, 5, 7 }) {
        QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(centre + offset, 9));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(centre + offset, 9));
        EXPECT_EQ(slider->position(), 100) << "click " << offset << " px from the centre";
    }
    EXPECT_EQ(moving.count(), 0);
    EXPECT_EQ(moved.count(), 5) << "every release still reports the position";
}

TEST_F(LevelSlider, DragKeepsTheThumbWhereItWasGrabbed)
{
    slider->setPosition(127); // pixel 8 + 127 * 231 / 254 = 123
    ASSERT_EQ(thumbCentre(), 123);
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(128, 9)); // 5 px right of centre
    QTest::mouseMove(slider, QPoint(148, 9));
    EXPECT_EQ(slider->position(), (143 - 8) * 254 / 231) << "the centre follows at 143";
    EXPECT_EQ(moving.count(), 1);
}

TEST_F(LevelSlider, DragPastEitherEndStopsAtTheRangeEnd)
{
    slider->setPosition(127);
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(thumbCentre(), 9));
    QTest::mouseMove(slider, QPoint(-60, 9));
    EXPECT_EQ(slider->position(), 0);
    EXPECT_EQ(slider->thumbRect().left(), 0) << "the thumb stops at the channel's start";
    QTest::mouseMove(slider, QPoint(-90, 9));
    EXPECT_EQ(moving.count(), 1) << "nothing more past the end";

    QTest::mouseMove(slider, QPoint(500, 9));
    EXPECT_EQ(slider->position(), 254);
    EXPECT_EQ(slider->thumbRect().right(), 246) << "the thumb stops at the channel's end";
    QTest::mouseMove(slider, QPoint(600, 30));
    ASSERT_EQ(moving.count(), 2) << "nothing more past the other end";
    EXPECT_EQ(moving.at(0).at(1).toInt(), 0);
    EXPECT_EQ(moving.at(1).at(1).toInt(), 254);

    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(600, 30));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(1).toInt(), 254);
}

TEST_F(LevelSlider, MovesWithoutAPressedButtonDoNothing)
{
    QTest::mouseMove(slider, QPoint(200, 9));
    EXPECT_EQ(slider->position(), 0);
    EXPECT_EQ(moving.count(), 0);
}

TEST_F(LevelSlider, OnlyTheLeftButtonDrags)
{
    QTest::mousePress(slider, Qt::RightButton, {}, QPoint(200, 9));
    QTest::mouseRelease(slider, Qt::RightButton, {}, QPoint(200, 9));
    EXPECT_EQ(slider->position(), 0);
    EXPECT_EQ(moving.count() + moved.count(), 0);
}

TEST_F(LevelSlider, DoubleClickNotifiesWithThePosition)
{
    slider->setPosition(40);
    QTest::mouseDClick(slider, Qt::LeftButton, {}, QPoint(thumbCentre(), 9));
    ASSERT_EQ(doubleClicked.count(), 1);
    EXPECT_EQ(doubleClicked.at(0).at(0).toInt(), SliderId);
    EXPECT_EQ(doubleClicked.at(0).at(1).toInt(), 40);
    EXPECT_EQ(moving.count(), 0);
}

struct KeyRow {
    int start;
    Qt::Key key;
    int expected;
};

std::ostream &operator<<(std::ostream &out, const KeyRow &row)
{
    // QTest::toString hands over a new[] string.
    const std::unique_ptr<char[]> key(QTest::toString(row.key));
    return out << "key " << key.get() << " from " << row.start;
}

class LevelSliderKeys : public LevelSlider, public ::testing::WithParamInterface<KeyRow> { };

TEST_P(LevelSliderKeys, StepsClampsAndNotifiesMoved)
{
    const KeyRow &row = GetParam();
    slider->setPosition(row.start);
    slider->setFocus();
    QTest::keyClick(slider, row.key);
    EXPECT_EQ(slider->position(), row.expected);
    ASSERT_EQ(moved.count(), 1) << "every key step reports, even at an end";
    EXPECT_EQ(moved.at(0).at(0).toInt(), SliderId);
    EXPECT_EQ(moved.at(0).at(1).toInt(), row.expected);
    EXPECT_EQ(moving.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, LevelSliderKeys,
    ::testing::Values(KeyRow { 100, Qt::Key_PageUp, 80 }, KeyRow { 100, Qt::Key_PageDown, 120 },
        KeyRow { 10, Qt::Key_PageUp, 0 }, KeyRow { 250, Qt::Key_PageDown, 254 },
        KeyRow { 100, Qt::Key_End, 254 }, KeyRow { 100, Qt::Key_Home, 0 },
        KeyRow { 100, Qt::Key_Left, 99 }, KeyRow { 100, Qt::Key_Up, 99 },
        KeyRow { 100, Qt::Key_Right, 101 }, KeyRow { 100, Qt::Key_Down, 101 },
        KeyRow { 0, Qt::Key_Left, 0 }, KeyRow { 254, Qt::Key_Right, 254 }));

TEST_F(LevelSlider, OtherKeysDoNothing)
{
    slider->setPosition(100);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_A);
    QTest::keyClick(slider, Qt::Key_Space);
    EXPECT_EQ(slider->position(), 100);
    EXPECT_EQ(moved.count(), 0);
}

TEST_F(LevelSlider, PaintsLitChannelUpToTheThumbAndUnlitBeyond)
{
    const QImage lit = pngImage(170).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage unlit = pngImage(168).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage thumb = pngImage(147).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_FALSE(lit.isNull());
    ASSERT_NE(lit.pixel(40, 9), unlit.pixel(40, 9)) << "the two channel images differ";

    slider->setPosition(127); // thumb centre at 123
    const QImage shot = renderOf(*slider);
    EXPECT_EQ(shot.pixel(40, 9), lit.pixel(40, 9)) << "left of the thumb: lit";
    EXPECT_EQ(shot.pixel(200, 9), unlit.pixel(200, 9)) << "right of the thumb: unlit";
    EXPECT_EQ(shot.pixel(123, 9), thumb.pixel(8, 9)) << "thumb drawn unscaled at its place";
}

TEST_F(LevelSlider, DisabledShowsTheWholeUnlitChannelAndNoThumb)
{
    const QImage unlit = pngImage(168).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    slider->setPosition(127);
    slider->setEnabled(false);
    const QImage shot = renderOf(*slider);
    EXPECT_EQ(shot.pixel(40, 9), unlit.pixel(40, 9));
    EXPECT_EQ(shot.pixel(123, 9), unlit.pixel(123, 9)) << "no thumb";
}

TEST(BitmapSlider, MissingArtworkLeavesTheSizeAndDrawsNothing)
{
    CBitmapSlider slider;
    slider.resize(150, 24);
    slider.setChannelImages(9998, 9999);
    slider.setThumbImages(9997, 0);
    EXPECT_EQ(slider.size(), QSize(150, 24));
    EXPECT_TRUE(slider.thumbRect().isNull());
    const QImage shot = renderOf(slider);
    EXPECT_EQ(shot.pixel(75, 12), qRgba(0, 0, 0, 0));
}

TEST(BitmapSlider, VerticalSliderGrowsDownwardWithItsMinimumAtTheTop)
{
    QWidget window;
    auto *slider = new CBitmapSlider(&window);
    QImage channel(19, 231 + 10, QImage::Format_ARGB32_Premultiplied);
    channel.fill(Qt::darkCyan);
    QImage thumb(19, 10, QImage::Format_ARGB32_Premultiplied);
    thumb.fill(Qt::white);
    slider->setVertical(true);
    slider->setChannelImages(channel, channel);
    slider->setThumbImages(thumb, QImage());
    slider->setRange(0, 231);
    slider->setMargins(0, 0, 0, 0);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy moving(slider, &CBitmapSlider::sliderMoving);

    EXPECT_EQ(slider->size(), QSize(19, 241));
    EXPECT_EQ(slider->thumbRect(), QRect(0, 0, 19, 10)) << "minimum at the top";
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(9, 105));
    EXPECT_EQ(slider->position(), 100);
    EXPECT_EQ(slider->thumbRect().top(), 100);
    QTest::mouseMove(slider, QPoint(40, 500));
    EXPECT_EQ(slider->position(), 231);
    EXPECT_EQ(moving.count(), 2);
}

TEST(BitmapSlider, ActiveThumbShowsWhileDragging)
{
    QWidget window;
    auto *slider = new CBitmapSlider(&window);
    QImage channel(100, 10, QImage::Format_ARGB32_Premultiplied);
    channel.fill(Qt::black);
    QImage thumb(10, 10, QImage::Format_ARGB32_Premultiplied);
    thumb.fill(Qt::white);
    QImage active = thumb;
    active.fill(Qt::red);
    slider->setChannelImages(channel, channel);
    slider->setThumbImages(thumb, active);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(renderOf(*slider).pixel(5, 5), QColor(Qt::white).rgba());
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(renderOf(*slider).pixel(5, 5), QColor(Qt::red).rgba());
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(renderOf(*slider).pixel(5, 5), QColor(Qt::white).rgba());
}

} // namespace
} // namespace arx
