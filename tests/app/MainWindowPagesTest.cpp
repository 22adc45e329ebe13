// The page buttons, the help buttons and the about box.
#include "MainWindowFixture.h"

#include "app/CAboutDlg.h"
#include "app/ManualFile.h"
#include "controls/PngButton.h"
#include "mic/CMicDlg.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace arx {
namespace {

using test::MainWindow;

struct PageCase {
    int button;
    Page page;
    bool processorsShown;
    bool devicesShown;
};

TEST(MainWindowPages, EachPageButtonShowsItsPageAndMarksItself)
{
    const PageCase cases[] = {
        { 1002, Page::Speaker, true, false },
        { 1003, Page::Routing, false, true },
        { 1001, Page::Mic, false, false },
    };
    MainWindow fixture;
    for (const PageCase &c : cases) {
        SCOPED_TRACE(c.button);
        fixture.click(c.button);
        EXPECT_EQ(fixture.window.currentPage(), c.page);
        EXPECT_EQ(fixture.window.micPage()->isVisible(), c.page == Page::Mic);
        EXPECT_EQ(fixture.window.speakerPage()->isVisible(), c.page == Page::Speaker);
        EXPECT_EQ(fixture.window.routingPage()->isVisible(), c.page == Page::Routing);
        for (int id : { 1001, 1002, 1003, 1004 })
            EXPECT_EQ(fixture.control<PngButton>(id)->state(), id == c.button ? 1 : 0)
                << "button " << id;
        for (int id : { 1001, 1002, 1003, 1004 })
            EXPECT_TRUE(fixture.control(id)->isVisible()) << "page buttons stay reachable";
        EXPECT_EQ(fixture.list(1005)->isVisible(), !c.processorsShown && !c.devicesShown)
            << "unit list";
        EXPECT_EQ(fixture.list(1009)->isVisible(), c.processorsShown) << "processor list";
        EXPECT_EQ(fixture.control(1401)->isVisible(), c.processorsShown) << "address field";
        EXPECT_EQ(fixture.control(1402)->isVisible(), c.processorsShown) << "Add button";
        EXPECT_EQ(fixture.list(1008)->isVisible(), c.devicesShown) << "danteList";
    }
    EXPECT_TRUE(fixture.link.log.empty()) << "switching pages sends nothing";
}

// Takes the place of the desktop for file addresses, so that a test sees what would open.
class DocumentOpener : public QObject {
    Q_OBJECT
public:
    DocumentOpener() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~DocumentOpener() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

int visibleTopLevels()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += widget->isVisible() ? 1 : 0;
    return count;
}

TEST(MainWindowHelp, HelpButtonsOpenTheManualWithTheDesktopViewer)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString manual = folder.filePath(ManualFileName);
    QFile file(manual);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\n");
    file.close();

    MainWindow fixture;
    fixture.window.setManualPath(manual);
    DocumentOpener opener;
    fixture.click(1007);
    ASSERT_EQ(opener.opened.size(), 1) << "the help button";
    EXPECT_EQ(opener.opened[0], QUrl::fromLocalFile(manual));

    fixture.click(1003);
    fixture.click(1004);
    EXPECT_EQ(opener.opened.size(), 2) << "the HELP page button";
    EXPECT_EQ(fixture.window.currentPage(), Page::Routing) << "HELP leaves the page as it is";
    EXPECT_EQ(fixture.control<PngButton>(1003)->state(), 1);
    EXPECT_EQ(fixture.control<PngButton>(1004)->state(), 0);
}

TEST(MainWindowHelp, HelpWithTheManualMissingShowsNothing)
{
    QTemporaryDir folder;
    MainWindow fixture;
    fixture.window.setManualPath(folder.filePath(ManualFileName));
    DocumentOpener opener;
    const int windowsBefore = visibleTopLevels();

    fixture.click(1007);
    fixture.click(1004);
    QCoreApplication::processEvents();
    EXPECT_TRUE(opener.opened.isEmpty()) << "the viewer is not asked";
    EXPECT_TRUE(fixture.prompts.shown.empty()) << "no message";
    EXPECT_EQ(visibleTopLevels(), windowsBefore) << "no window appears";
    EXPECT_EQ(fixture.window.currentPage(), Page::Mic);
}

TEST(MainWindowHelp, ManualIsLookedForNextToTheProgramThenInTheDataFolder)
{
    // Neither the test's folder nor a share/arx beside it holds the manual.
    MainWindow fixture;
    EXPECT_TRUE(fixture.window.manualPath().isEmpty()) << qPrintable(fixture.window.manualPath());
    EXPECT_EQ(manualFolders().value(0), QCoreApplication::applicationDirPath());
    EXPECT_EQ(ManualFileName, QStringLiteral("ARX 软件功能介绍1104.pdf"));
}

TEST(MainWindowAbout, WindowMenuItemOpensTheAboutBox)
{
    MainWindow fixture;
    const QList<QAction *> items = fixture.window.windowMenu()->actions();
    ASSERT_EQ(items.size(), 4) << "about, journal and the two room file items";
    EXPECT_EQ(items[0]->text(), QStringLiteral("关于 ARX(&A)..."));

    QString caption;
    QString text;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!box)
            return;
        modal = box->isModal();
        caption = box->windowTitle();
        if (auto *label = box->findChild<QLabel *>(QStringLiteral("aboutText")))
            text = label->text();
        box->accept();
    });
    items[0]->trigger();
    EXPECT_TRUE(modal) << "a modal box was shown";
    EXPECT_EQ(caption, QStringLiteral("关于 ARX1.2"));
    EXPECT_EQ(text, QStringLiteral("ARX1.2 版"));
}

TEST(MainWindowJournal, MenuItemAndCtrlJAskForTheJournal)
{
    MainWindow fixture;
    const QList<QAction *> items = fixture.window.windowMenu()->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[1]->text(), QStringLiteral("Journal…"));
    QSignalSpy asked(&fixture.window, &CARNDlg::journalRequested);
    items[1]->trigger();
    EXPECT_EQ(asked.count(), 1);
    fixture.window.show();
    fixture.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fixture.window));
    QTest::keyClick(&fixture.window, Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(asked.count(), 2) << "Ctrl+J while the menu is closed";
}

TEST(MainWindowAbout, BannerOffersTheWindowMenu)
{
    MainWindow fixture;
    QMenu *menu = fixture.window.windowMenu();

    fixture.click(&fixture.window, QPoint(700, 20), Qt::RightButton);
    EXPECT_TRUE(menu->isVisible()) << "right click on the banner";
    menu->hide();

    fixture.click(fixture.control(1000), QPoint(100, 25), Qt::RightButton);
    EXPECT_TRUE(menu->isVisible()) << "right click on the picture over the banner";
    menu->hide();

    fixture.click(fixture.control(1000), QPoint(100, 25));
    EXPECT_TRUE(menu->isVisible()) << "left click on the picture, where the window menu sits";
    menu->hide();

    fixture.click(&fixture.window, QPoint(700, 110), Qt::RightButton);
    EXPECT_FALSE(menu->isVisible()) << "not below the banner";
}

} // namespace
} // namespace arx

#include "MainWindowPagesTest.moc"
