#include "controls/CStaticST.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

namespace arx {
namespace {

// A parent painted red on its left half and blue on its right half.
class TwoColourParent : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(0, 0, width() / 2, height(), Qt::red);
        painter.fillRect(width() / 2, 0, width() - width() / 2, height(), Qt::blue);
    }
};

QColor cornerOf(CStaticST &label)
{
    return label.grab().toImage().pixelColor(1, 1);
}

TEST(CStaticST, ValueModeShowsOneDecimalOnlyForFractions)
{
    CStaticST label;
    label.setTextMode(false);
    label.setPrefix(QStringLiteral("Q:"));
    label.setSuffix(QStringLiteral(" ms"));
    label.setDivisor(10);

    label.setValue(15);
    EXPECT_EQ(label.displayText(), QStringLiteral("Q:1.5 ms"));
    label.setValue(20);
    EXPECT_EQ(label.displayText(), QStringLiteral("Q:2 ms"));
}

TEST(CStaticST, ValueModeShowsOffAtTheChosenOffValue)
{
    CStaticST label;
    label.setTextMode(false);
    label.setPrefix(QStringLiteral("Ratio "));
    label.setSuffix(QStringLiteral(":1"));
    label.setOffMode(2);
    label.setValue(10);
    EXPECT_EQ(label.displayText(), QStringLiteral("Ratio OFF")) << "second OFF value is 10";
    label.setValue(1);
    EXPECT_EQ(label.displayText(), QStringLiteral("Ratio 1:1")) << "first OFF value not used";
    label.setOffMode(1);
    EXPECT_EQ(label.displayText(), QStringLiteral("Ratio OFF"));
}

TEST(CStaticST, TextModeShowsTheTextUnchanged)
{
    CStaticST label;
    label.setText(QStringLiteral("关于 ARX"));
    label.setValue(3);
    EXPECT_EQ(label.displayText(), QStringLiteral("关于 ARX"));
}

TEST(CStaticST, TransparentLabelKeepsItsCapturedBackgroundUntilTheCacheIsDeleted)
{
    TwoColourParent parent;
    parent.resize(200, 40);
    CStaticST label(&parent);
    label.setGeometry(10, 10, 40, 20);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));

    EXPECT_EQ(cornerOf(label), QColor(Qt::red)) << "captured from the red half";
    ASSERT_TRUE(label.hasBackgroundCache());

    label.move(150, 10);
    EXPECT_EQ(cornerOf(label), QColor(Qt::red)) << "moved over blue, still the old copy";

    label.deleteBackgroundCache();
    EXPECT_EQ(cornerOf(label), QColor(Qt::blue)) << "captured again after deletion";
}

TEST(CStaticST, FilledLabelPaintsItsFillColourAndPictures)
{
    CStaticST label;
    label.resize(40, 20);
    label.setTransparent(false);
    label.setFillColour(QColor(0x52, 0x52, 0x52));
    EXPECT_EQ(cornerOf(label), QColor(0x52, 0x52, 0x52));

    QImage picture(4, 4, QImage::Format_ARGB32);
    picture.fill(Qt::green);
    label.setNaturalImage(picture);
    EXPECT_EQ(cornerOf(label), QColor(Qt::green)) << "natural-size image at the corner";
    EXPECT_EQ(label.grab().toImage().pixelColor(30, 15), QColor(0x52, 0x52, 0x52))
        << "and only there";
    label.setNaturalImage(picture, false);
    EXPECT_EQ(cornerOf(label), QColor(0x52, 0x52, 0x52)) << "hidden picture is not drawn";
}

TEST(CStaticST, SetImageTakesTheImageSizeAndKeepsThePosition)
{
    QWidget parent;
    CStaticST label(&parent);
    label.setGeometry(10, 5, 24, 24);
    label.setImage(171); // the banner, 1280 x 50
    EXPECT_EQ(label.geometry(), QRect(10, 5, 1280, 50));

    label.setImage(99999);
    EXPECT_EQ(label.geometry(), QRect(10, 5, 1280, 50)) << "an unknown image changes nothing";
}

} // namespace
} // namespace arx
