// Vertical and right-to-left reading of CStaticST, judged by where its pixels land.
#include "controls/CStaticST.h"

#include <gtest/gtest.h>

namespace arx {
namespace {

constexpr int RightToLeftVertical = CStaticST::RightToLeft | CStaticST::Vertical;

QImage drawn(const QString &text, QSize size, int alignment, int flags)
{
    CStaticST label;
    label.resize(size);
    label.setText(text);
    label.setAlignment(alignment);
    label.setFormatFlags(flags);
    return label.grab().toImage();
}

bool inked(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) > 60;
}

QRect inkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (inked(image, x, y))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// Inked pixels in a part of the image.
int ink(const QImage &image, const QRect &part)
{
    int count = 0;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        for (int x = part.left(); x <= part.right(); ++x)
            count += inked(image, x, y) ? 1 : 0;
    }
    return count;
}

// The centre of mass of the ink.
QPointF inkMiddle(const QImage &image)
{
    QPointF sum;
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (inked(image, x, y)) {
                sum += QPointF(x, y);
                ++count;
            }
        }
    }
    return count > 0 ? sum / count : QPointF();
}

TEST(CStaticSTReading, VerticalTextRunsDownTheLabelAndFarAlignsItAtTheBottom)
{
    const QImage image
        = drawn(QStringLiteral("Name 64"), { 20, 120 }, CStaticST::Far, RightToLeftVertical);
    const QRect bounds = inkBounds(image);
    ASSERT_FALSE(bounds.isEmpty());
    EXPECT_GT(bounds.height(), 3 * bounds.width()) << "one column of text";
    EXPECT_GE(bounds.bottom(), image.height() - 4) << "far along the line is the bottom";

    const QImage near
        = drawn(QStringLiteral("Name 64"), { 20, 120 }, CStaticST::Near, RightToLeftVertical);
    EXPECT_LE(inkBounds(near).top(), 3) << "near along the line is the top";
}

TEST(CStaticSTReading, VerticalTextReadsTopToBottomWithGlyphsTurnedClockwise)
{
    const QSize square { 60, 60 };
    // Heavy letters first: their ink lies higher when the text reads downwards.
    const QImage heavyFirst
        = drawn(QStringLiteral("MW.."), square, CStaticST::Centre, RightToLeftVertical);
    const QImage heavyLast
        = drawn(QStringLiteral("..MW"), square, CStaticST::Centre, RightToLeftVertical);
    EXPECT_LT(inkMiddle(heavyFirst).y() + 4, inkMiddle(heavyLast).y());

    // The bar of a T turned a quarter turn clockwise stands at its right.
    const QImage upright = drawn(QStringLiteral("T"), square, CStaticST::Centre, 0);
    const QImage turned
        = drawn(QStringLiteral("T"), square, CStaticST::Centre, RightToLeftVertical);
    const QRect uprightBounds = inkBounds(upright);
    const QRect turnedBounds = inkBounds(turned);
    ASSERT_FALSE(turnedBounds.isEmpty());
    EXPECT_NEAR(turnedBounds.width(), uprightBounds.height(), 2);
    EXPECT_NEAR(turnedBounds.height(), uprightBounds.width(), 2);
    const QRect rightColumns(
        turnedBounds.right() - 1, turnedBounds.top(), 2, turnedBounds.height());
    const QRect leftColumns(turnedBounds.left(), turnedBounds.top(), 2, turnedBounds.height());
    EXPECT_GT(ink(turned, rightColumns), 2 * ink(turned, leftColumns));
}

TEST(CStaticSTReading, VerticalLinesFollowEachOtherRightToLeftOnlyWhenAsked)
{
    // Two words that do not fit one 40-pixel line: the heavy one is the first line.
    const QString text = QStringLiteral("MMM ...");
    const QSize size { 60, 40 };
    const QImage rightToLeft = drawn(text, size, CStaticST::Centre, RightToLeftVertical);
    const QImage leftToRight = drawn(text, size, CStaticST::Centre, CStaticST::Vertical);
    const QRect left { 0, 0, 30, 40 };
    const QRect right { 30, 0, 30, 40 };
    EXPECT_GT(ink(rightToLeft, right), 2 * ink(rightToLeft, left)) << "first line at the right";
    EXPECT_GT(ink(leftToRight, left), 2 * ink(leftToRight, right)) << "first line at the left";
}

TEST(CStaticSTReading, RightToLeftMirrorsNearAndFarAcrossTheLabel)
{
    struct Case {
        int alignment;
        int flags;
        bool atRight;
    };
    const Case cases[] = {
        { CStaticST::Near, 0, false },
        { CStaticST::Far, 0, true },
        { CStaticST::Near, CStaticST::RightToLeft, true },
        { CStaticST::Far, CStaticST::RightToLeft, false },
        // Vertical: the lines stand at the right for near when they read right to left.
        { CStaticST::Near, RightToLeftVertical, true },
        { CStaticST::Far, RightToLeftVertical, false },
        { CStaticST::Near, CStaticST::Vertical, false },
        { CStaticST::Far, CStaticST::Vertical, true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "alignment " << c.alignment << " flags " << c.flags);
        const QImage image = drawn(QStringLiteral("Name"), { 120, 120 }, c.alignment, c.flags);
        const QRect bounds = inkBounds(image);
        ASSERT_FALSE(bounds.isEmpty());
        // A line's ascent and descent leave a few pixels beside the ink.
        if (c.atRight)
            EXPECT_GE(bounds.right(), 110);
        else
            EXPECT_LE(bounds.left(), 9);
    }
}

TEST(CStaticSTReading, NoFitBlackBoxAloneLeavesTheTextAsItWas)
{
    const QImage plain = drawn(QStringLiteral("Gain 12"), { 80, 20 }, CStaticST::Far, 0);
    const QImage flagged
        = drawn(QStringLiteral("Gain 12"), { 80, 20 }, CStaticST::Far, CStaticST::NoFitBlackBox);
    EXPECT_EQ(plain, flagged);
}

} // namespace
} // namespace arx
