#include "controls/CComBoxBtn.h"
#include "controls/CDropList.h"
#include "controls/CListWnd.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

namespace arx {
namespace {

const QStringList FilterTypes { QStringLiteral("Butterworth 1"), QStringLiteral("Butterworth 2"),
    QStringLiteral("Bessel 2"), QStringLiteral("Linkwitz 2"), QStringLiteral("Variable") };

// A speaker-page filter type selector: bitmaps 138 and 139, list 1087, five entries.
struct Selector {
    QWidget window;
    CComBoxBtn *button = new CComBoxBtn(&window);

    explicit Selector(const QStringList &entries = FilterTypes)
    {
        window.resize(300, 300);
        button->setGeometry(40, 30, 100, 24);
        button->setBitmaps(138, 139);
        button->attachList(1087);
        for (const QString &entry : entries)
            button->dropList()->addEntry(entry);
        button->select(0);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    CDropList *list() const { return button->dropList(); }
    CListWnd *popup() const { return button->listWindow(); }

    void open()
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
        ASSERT_TRUE(button->isListShown());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popup()));
    }
    QPoint entryCentre(int index) const
    {
        return list()->visualItemRect(list()->item(index)).center();
    }
    // The pointer moves onto an entry of the open pop-up, through the pop-up's window.
    void hoverEntry(int index)
    {
        const QPoint target = list()->viewport()->mapTo(popup(), entryCentre(index));
        // A move to where the pointer already is would be dropped.
        QTest::mouseMove(popup()->windowHandle(), target + QPoint(0, 1));
        QTest::mouseMove(popup()->windowHandle(), target);
    }
    void wheel(int delta)
    {
        const QPoint at(10, 10);
        QWheelEvent event(at, button->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(button, &event);
    }
};

TEST(CComBoxBtn, TakesTheSizeOfItsBitmap)
{
    Selector selector;
    EXPECT_EQ(selector.button->geometry(), QRect(40, 30, 91, 20));
}

TEST(CComBoxBtn, FiveEntriesOpenA126PixelListOnePixelUpUnderTheButton)
{
    Selector selector;
    selector.open();
    const QRect popup = selector.popup()->geometry();
    const QPoint corner = selector.button->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(popup.height(), 126) << "5 x 25 + 1";
    EXPECT_EQ(popup.width(), 91) << "as wide as the button";
    EXPECT_EQ(popup.topLeft(), corner + QPoint(0, 19)) << "overlapping the button's bottom row";
    EXPECT_EQ(selector.list()->entryHeight(), 25) << "entries of the button's font";
}

TEST(CComBoxBtn, ManyEntriesOpenAtMost201Pixels)
{
    QStringList many;
    for (int i = 0; i < 12; ++i)
        many << QStringLiteral("MIC-%1").arg(i + 1);
    Selector selector(many);
    selector.open();
    EXPECT_EQ(selector.popup()->height(), 201);
}

TEST(CComBoxBtn, ChoiceInsideTheListIsAnnouncedWithListIdAndIndex)
{
    Selector selector;
    QSignalSpy selections(selector.button, &CComBoxBtn::dropListSelect);
    selector.open();
    QWidget *viewport = selector.list()->viewport();
    selector.hoverEntry(2);
    EXPECT_EQ(selector.list()->currentSelection(), 2) << "hover selects";
    EXPECT_EQ(selections.count(), 0) << "hover notifies nobody";

    QTest::mouseClick(viewport, Qt::LeftButton, {}, selector.entryCentre(2));
    ASSERT_EQ(selections.count(), 1);
    EXPECT_EQ(selections.at(0).at(0).toInt(), 1087);
    EXPECT_EQ(selections.at(0).at(1).toInt(), 2);
    EXPECT_FALSE(selector.button->isListShown()) << "a choice closes the list";
    EXPECT_EQ(selector.button->text(), QStringLiteral("Bessel 2"));
    EXPECT_TRUE(selector.button->isActiveLook());
    EXPECT_EQ(selector.list()->previousSelection(), 2) << "the accepted index is remembered";
}

TEST(CComBoxBtn, ChoiceReleasedOutsideRestoresThePreviousSelectionAndNotifiesNobody)
{
    Selector selector;
    selector.button->select(1);
    QSignalSpy selections(selector.button, &CComBoxBtn::dropListSelect);
    selector.open();
    QWindow *popup = selector.popup()->windowHandle();
    const QPoint onEntry
        = selector.list()->viewport()->mapTo(selector.popup(), selector.entryCentre(3));

    QTest::mousePress(popup, Qt::LeftButton, {}, onEntry);
    EXPECT_EQ(selector.list()->currentSelection(), 3);
    const QPoint outside(selector.popup()->width() + 60, selector.popup()->height() + 40);
    QTest::mouseMove(popup, outside);
    QTest::mouseRelease(popup, Qt::LeftButton, {}, outside);

    EXPECT_EQ(selections.count(), 0) << "nobody hears of an abandoned choice";
    EXPECT_EQ(selector.list()->currentSelection(), 1) << "previous selection restored";
    EXPECT_EQ(selector.button->currentIndex(), 1);
    EXPECT_EQ(selector.button->text(), QStringLiteral("Butterworth 2"));
    EXPECT_FALSE(selector.button->isListShown());
}

TEST(CComBoxBtn, ClickOutsideTheOpenListClosesItWithoutASelection)
{
    Selector selector;
    QSignalSpy selections(selector.button, &CComBoxBtn::dropListSelect);
    selector.open();
    selector.hoverEntry(4);
    ASSERT_EQ(selector.list()->currentSelection(), 4);

    QTest::mouseClick(selector.button, Qt::LeftButton, {}, QPoint(10, 5));

    EXPECT_FALSE(selector.button->isListShown()) << "the click on the button closed the list";
    EXPECT_EQ(selections.count(), 0);
    EXPECT_EQ(selector.button->currentIndex(), 0) << "the hovered entry was not taken";
}

TEST(CComBoxBtn, PressOnTheButtonThroughItsWindowClosesTheListWithoutReopeningIt)
{
    Selector selector;
    QSignalSpy selections(selector.button, &CComBoxBtn::dropListSelect);
    selector.open();
    const QPoint onButton = selector.button->mapTo(&selector.window, QPoint(10, 5));
    QTest::mouseClick(selector.window.windowHandle(), Qt::LeftButton, {}, onButton);
    EXPECT_FALSE(selector.button->isListShown()) << "closed, and not opened again";
    EXPECT_EQ(selections.count(), 0);
}

TEST(CComBoxBtn, ReturnTakesTheHoveredEntryAndEscapeAbandonsIt)
{
    Selector selector;
    QSignalSpy selections(selector.button, &CComBoxBtn::dropListSelect);
    selector.open();
    selector.hoverEntry(3);
    QTest::keyClick(selector.list(), Qt::Key_Escape);
    EXPECT_FALSE(selector.button->isListShown());
    EXPECT_EQ(selections.count(), 0);
    EXPECT_EQ(selector.button->currentIndex(), 0);

    selector.open();
    selector.hoverEntry(3);
    QTest::keyClick(selector.list(), Qt::Key_Return);
    ASSERT_EQ(selections.count(), 1);
    EXPECT_EQ(selections.at(0).at(1).toInt(), 3);
    EXPECT_EQ(selector.button->text(), QStringLiteral("Linkwitz 2"));
}

TEST(CComBoxBtn, SelectClampsToTheListAndNotifiesNobody)
{
    Selector selector;
    QSignalSpy selections(selector.button, &CComBoxBtn::dropListSelect);
    selector.button->select(7);
    EXPECT_EQ(selector.button->currentIndex(), 4);
    EXPECT_EQ(selector.button->text(), QStringLiteral("Variable"));
    selector.button->select(-2);
    EXPECT_EQ(selector.button->currentIndex(), 0);
    EXPECT_EQ(selections.count(), 0);
}

TEST(CComBoxBtn, ThreeWheelStepsOfMinus40SelectTheNextEntryOnceOnTheThird)
{
    Selector selector;
    QSignalSpy selections(selector.button, &CComBoxBtn::dropListSelect);
    selector.wheel(-40);
    selector.wheel(-40);
    EXPECT_EQ(selections.count(), 0) << "two thirds of a notch do nothing";
    EXPECT_EQ(selector.button->currentIndex(), 0);
    selector.wheel(-40);
    ASSERT_EQ(selections.count(), 1);
    EXPECT_EQ(selections.at(0).at(0).toInt(), 1087);
    EXPECT_EQ(selections.at(0).at(1).toInt(), 1);
    EXPECT_EQ(selector.button->text(), QStringLiteral("Butterworth 2"));
    EXPECT_TRUE(selector.button->isActiveLook());
}

TEST(CComBoxBtn, NotchDownOnTheLastEntryNotifiesTheSameIndex)
{
    Selector selector;
    selector.button->select(4);
    QSignalSpy selections(selector.button, &CComBoxBtn::dropListSelect);
    selector.wheel(-120);
    ASSERT_EQ(selections.count(), 1);
    EXPECT_EQ(selections.at(0).at(1).toInt(), 4);
    EXPECT_EQ(selector.button->currentIndex(), 4);
}

TEST(CComBoxBtn, NotchUpSelectsThePreviousEntry)
{
    Selector selector;
    selector.button->select(2);
    QSignalSpy selections(selector.button, &CComBoxBtn::dropListSelect);
    selector.wheel(120);
    ASSERT_EQ(selections.count(), 1);
    EXPECT_EQ(selections.at(0).at(1).toInt(), 1);
}

TEST(CComBoxBtn, ShowsAPointingHand)
{
    Selector selector;
    EXPECT_EQ(selector.button->cursor().shape(), Qt::PointingHandCursor);
}

TEST(CDropList, SettingAFontMakesEntries25PixelsHigh)
{
    CListWnd popup(nullptr);
    EXPECT_EQ(popup.list()->entryHeight(), 40) << "a new pop-up's entries";
    EXPECT_EQ(popup.list()->hasEntryFont(), false);
    popup.list()->setEntryFont(QFont());
    EXPECT_EQ(popup.list()->entryHeight(), 25);
    popup.list()->addEntry(QStringLiteral("x"));
    EXPECT_EQ(popup.list()->visualItemRect(popup.list()->item(0)).height(), 25);
}

} // namespace
} // namespace arx
