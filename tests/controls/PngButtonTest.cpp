#include "controls/PngButton.h"
#include "controls/ControlId.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

namespace arx {
namespace {

QImage solid(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// A shown window with one button in it, so that the pointer can hover and press it.
struct ButtonOnWindow {
    QWidget window;
    PngButton *button = new PngButton(&window);

    ButtonOnWindow()
    {
        window.resize(200, 100);
        button->setGeometry(20, 20, 80, 24);
        setControlId(button, 1123);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // Everything goes through the window, as the platform delivers it, so that Qt tracks
    // which widget the pointer is over.
    QPoint onButton() const { return button->mapTo(&window, QPoint(40, 12)); }
    void leave() { QTest::mouseMove(window.windowHandle(), QPoint(180, 90)); }
    void hover()
    {
        leave(); // a move to where the pointer already is would be dropped
        QTest::mouseMove(window.windowHandle(), onButton());
    }
    void press() { QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, onButton()); }
    void release() { QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, onButton()); }
};

TEST(PngButton, ToggleInStateOneShowsImageTwoWhileHoveredAndWhilePressed)
{
    ButtonOnWindow fixture;
    PngButton &button = *fixture.button;
    button.setMode(ButtonMode::Toggle);
    button.setImages(solid(10, 10, Qt::red), solid(10, 10, Qt::green));
    button.setState(1);

    fixture.hover();
    ASSERT_TRUE(button.isHovered()) << "the pointer rests on the button";
    EXPECT_EQ(button.shownImage(), 2) << "state 1 shows the on image while hovered";

    fixture.press();
    ASSERT_TRUE(button.isDown());
    EXPECT_EQ(button.shownImage(), 2) << "state 1 shows the on image while pressed";
    fixture.release();

    button.setState(0);
    EXPECT_EQ(button.shownImage(), 1) << "state 0 shows the off image while hovered";
}

TEST(PngButton, PushButtonShowsHoverImageOnlyInTheThreeImageSetUp)
{
    ButtonOnWindow fixture;
    PngButton &button = *fixture.button;
    button.setMode(ButtonMode::Push);
    button.setImages(solid(10, 10, Qt::red), solid(10, 10, Qt::green));

    fixture.hover();
    EXPECT_EQ(button.shownImage(), 1) << "two images: normal while hovering";

    button.setImages(solid(10, 10, Qt::red), solid(10, 10, Qt::green), solid(10, 10, Qt::blue));
    EXPECT_EQ(button.shownImage(), 3) << "three images: hover image while hovering";

    fixture.press();
    EXPECT_EQ(button.shownImage(), 2) << "pressed image while pressed";
    fixture.release();

    fixture.leave();
    EXPECT_FALSE(button.isHovered()) << "leaving ends the hover";
    EXPECT_EQ(button.shownImage(), 1);
}

TEST(PngButton, TwoQuickClicksGiveTwoCommandsAndAFlippingOwnerEndsWhereItStarted)
{
    ButtonOnWindow fixture;
    PngButton &button = *fixture.button;
    button.setImages(solid(10, 10, Qt::red), solid(10, 10, Qt::green));
    QSignalSpy commands(&button, &PngButton::commanded);
    QObject::connect(&button, &PngButton::commanded,
        [&button](int) { button.setState(button.state() ? 0 : 1); });

    // Press, release, double click, release.
    QTest::mouseDClick(fixture.window.windowHandle(), Qt::LeftButton, {}, fixture.onButton());

    ASSERT_EQ(commands.count(), 2) << "a double click is two clicks";
    EXPECT_EQ(commands.at(0).at(0).toInt(), 1123) << "commands carry the button's id";
    EXPECT_EQ(button.state(), 0) << "flipped twice";
}

TEST(PngButton, ButtonNeverChangesItsOwnState)
{
    ButtonOnWindow fixture;
    PngButton &button = *fixture.button;
    QSignalSpy commands(&button, &PngButton::commanded);
    QTest::mouseClick(fixture.window.windowHandle(), Qt::LeftButton, {}, fixture.onButton());
    EXPECT_EQ(commands.count(), 1);
    EXPECT_EQ(button.state(), 0) << "only the owner sets the state";
}

TEST(PngButton, SizeModesSizeTheButtonByItsFirstImageKeepingItsCorner)
{
    QWidget parent;
    PngButton button(&parent);
    button.setGeometry(30, 40, 100, 50);

    button.setSizeMode(1);
    button.setImages(solid(36, 26, Qt::red), solid(36, 26, Qt::green));
    EXPECT_EQ(button.geometry(), QRect(30, 40, 36, 26)) << "size mode 1: the image's size";

    button.setSizeMode(2);
    button.setImages(solid(36, 26, Qt::red), solid(36, 26, Qt::green));
    EXPECT_EQ(button.geometry(), QRect(30, 40, 18, 13)) << "size mode 2: half of it";

    button.setSizeMode(0);
    button.resize(80, 24);
    button.setImages(solid(36, 26, Qt::red), solid(36, 26, Qt::green));
    EXPECT_EQ(button.geometry(), QRect(30, 40, 80, 24)) << "size mode 0: kept, images stretch";
}

TEST(PngButton, CaptionTakesTheColourOfTheState)
{
    PngButton button;
    button.resize(100, 30);
    button.setText(QStringLiteral("ON"));
    button.setImages(solid(100, 30, Qt::black), solid(100, 30, Qt::black));
    const auto captionColours = [&button] {
        const QImage shot = button.grab().toImage();
        bool white = false, cyan = false;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                white |= c.red() > 200 && c.green() > 200 && c.blue() > 200;
                cyan |= c.red() < 40 && c.green() > 180 && c.blue() > 200;
            }
        }
        return std::pair { white, cyan };
    };
    EXPECT_EQ(captionColours(), std::pair(true, false)) << "state 0: white caption";
    button.setState(1);
    EXPECT_EQ(captionColours(), std::pair(false, true)) << "state 1: cyan caption";
    button.setDrawCaption(false);
    EXPECT_EQ(captionColours(), std::pair(false, false)) << "caption switched off";
}

} // namespace
} // namespace arx
