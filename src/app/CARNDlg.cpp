#include "app/CARNDlg.h"

#include "app/CAboutDlg.h"
#include "app/DeviceLists.h"
#include "app/MainWindowLayout.h"
#include "app/ManualFile.h"
#include "app/RoomFileMenu.h"
#include "controls/Artwork.h"
#include "controls/CListCtrlCl.h"
#include "controls/CStaticST.h"
#include "controls/ControlId.h"
#include "controls/PngButton.h"
#include "journal/JournalWindow.h"
#include "mic/CInputeqDlg.h"
#include "mic/CMicDlg.h"
#include "model/Store.h"
#include "model/UnitCheck.h"
#include "network/CDeviceipDlg.h"
#include "room/Room.h"
#include "room/RoomActions.h"
#include "room/RoomStatusText.h"
#include "routing/CMatrixDlg.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace arx {

namespace {

constexpr int PageButtonIds[4]
    = { MicPageButtonId, SpeakerPageButtonId, RoutingPageButtonId, HelpPageButtonId };
const char *const PageButtonCaptions[4] = { "MIC", "SPEAKER", "ROUTING", "HELP" };

// Artwork numbers.
constexpr int IconImage = 128;
constexpr int PageButtonImage = 131;
constexpr int PageButtonSelectedImage = 132;
constexpr int PageButtonFirstSelectedImage = 163;
constexpr int BannerImage = 171;
constexpr int HelpButtonHoverImage = 200;
constexpr int HelpButtonImage = 201;
constexpr int SearchOffImage = 202;
constexpr int SearchOnImage = 203;

// The device list's columns as they fit the device column on the ROUTING page: the
// documented widths (850 pixels together) would leave "IP" unreadable when narrowed in
// proportion, and "Rx" and "Tx" only ever show "-".
constexpr int DanteColumnWidthsInColumn[5] = { 56, 98, 96, 26, 26 };

// The actions on every unit, in the band's order.
struct RoomActionButton {
    int id;
    RoomAction action;
    const char *toolTip;
};
constexpr RoomActionButton RoomActionButtons[] = {
    { .id = MuteAllButtonId,
        .action = RoomAction::MuteAll,
        .toolTip = "Mute every registered unit, whatever ARX shows" },
    { .id = UnmuteAllButtonId,
        .action = RoomAction::UnmuteAll,
        .toolTip = "Unmute every registered unit, whatever ARX shows" },
    { .id = LocateOffButtonId,
        .action = RoomAction::LocateOff,
        .toolTip = "Stop locating on every registered unit" },
};

template <class Control> Control *makeControl(QWidget *parent, int id)
{
    auto *control = new Control(parent);
    setControlId(control, id);
    return control;
}

QString localAddressText(const std::optional<std::string> &address)
{
    if (!address)
        return QStringLiteral("No local IPv4 address found");
    return QStringLiteral("Local address %1").arg(QString::fromStdString(*address));
}

} // namespace

CARNDlg::CARNDlg(Room &room, Link &link, const Clock &clock, Prompts &prompts,
    OwnAddressLookup ownAddress, QWidget *parent, Construction construction)
    : QWidget(parent)
    , room_(room)
    , store_(room.store())
    , link_(link)
    , clock_(clock)
    , prompts_(prompts)
    , ownAddress_(std::move(ownAddress))
    , manualPath_(arx::manualPath())
{
    setWindowTitle(QStringLiteral("ARX 1.2"));

    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    // Always 1280 x 768 at the screen's top-left corner, whatever the screen's size.
    resize(MainWindowStartSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft());

    if (construction == Construction::Complete)
        buildContents();
}

CARNDlg::~CARNDlg()
{
    room_.observers().remove(*this);
}

void CARNDlg::buildContents()
{
    if (initialised_)
        return;
    // The first image read costs the image plug-ins' lookup: the banner comes with the
    // contents rather than before the first paint.
    banner_ = pngImage(BannerImage);
    createControls();

    // The window menu: Linux desktops give a program no item of its own in the title bar's
    // menu, so the banner carries it (right click, or a click on the picture at its left).
    windowMenu_ = new QMenu(this);
    connect(
        windowMenu_->addAction(AboutMenuText), &QAction::triggered, this, &CARNDlg::showAboutBox);
    QAction *journal = windowMenu_->addAction(JournalMenuText);
    journal->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_J));
    addAction(journal); // so that the shortcut works while the menu is closed
    connect(journal, &QAction::triggered, this, &CARNDlg::journalRequested);
    addRoomFileActions(*this, *windowMenu_, room_);

    setWindowIcon(QIcon(QPixmap::fromImage(pngImage(IconImage))));
    setUpListsAndPages();

    initialised_ = true;
    selectPage(Page::Mic);
    showLocalAddress();
    layOutOnce();

    noAnswerTimer_ = new QTimer(this);
    noAnswerTimer_->setSingleShot(true);
    noAnswerTimer_->setInterval(NoAnswerHintMs);
    connect(noAnswerTimer_, &QTimer::timeout, this, &CARNDlg::updateEmptyHint);
    connectControls();
    updateEmptyHint();
    roomCheckChanged(RoomCheckEvent::Updated, room_.check().summary());
    room_.observers().add(*this);

    // Controls made while the window shows do not show by themselves, as they would have
    // with the window; and the banner is painted over the black of the first paint.
    if (isVisible()) {
        for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow() && !child->testAttribute(Qt::WA_WState_ExplicitShowHide))
                child->show();
        }
        update();
    }
    if (closeRequested_)
        QTimer::singleShot(0, this, &QWidget::close);
}

Discovery &CARNDlg::discovery()
{
    return room_.discovery();
}

void CARNDlg::createControls()
{
    picture_ = makeControl<CStaticST>(this, StaticPictureId);
    for (int i = 0; i < 4; ++i) {
        PngButton *button = makeControl<PngButton>(this, PageButtonIds[i]);
        button->setText(QString::fromLatin1(PageButtonCaptions[i]));
        pageButtons_[static_cast<std::size_t>(i)] = button;
    }
    unitList_ = makeControl<CListCtrlCl>(this, UnitListId);
    searchButton_ = makeControl<PngButton>(this, SearchButtonId);
    searchButton_->setText(QStringLiteral("SEARCH"));
    helpButton_ = makeControl<PngButton>(this, HelpButtonId);
    helpButton_->setText(QStringLiteral("HELP"));
    helpButton_->setMode(ButtonMode::Push);
    danteList_ = makeControl<CListCtrlCl>(this, DanteListId);
    rdaList_ = makeControl<CListCtrlCl>(this, ProcessorListId);

    processorAddress_ = makeControl<QLineEdit>(this, ProcessorAddressFieldId);
    processorAddress_->setPlaceholderText(QStringLiteral("Processor address"));
    processorAddress_->setClearButtonEnabled(true);
    addProcessorButton_ = makeControl<PngButton>(this, AddProcessorButtonId);
    addProcessorButton_->setText(QStringLiteral("Add"));
    addProcessorButton_->setMode(ButtonMode::Push);

    localAddress_ = makeControl<QLabel>(this, LocalAddressLabelId);
    localAddress_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    checkButton_ = makeControl<PngButton>(this, CheckButtonId);
    checkButton_->setText(QStringLiteral("CHECK"));
    checkButton_->setMode(ButtonMode::Push);
    checkButton_->setToolTip(QStringLiteral(
        "Ask every unit again: which answer, and whether each holds what ARX shows"));
    roomStatus_ = makeControl<QLabel>(this, RoomStatusLabelId);
    roomStatus_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    roomStatus_->setStyleSheet(QStringLiteral("color: #c8d2de; font-size: 13px;"));
    selectionLine_ = makeControl<QLabel>(this, SelectionLineId);
    selectionLine_->setAlignment(Qt::AlignCenter);
    selectionLine_->setStyleSheet(
        QStringLiteral("background: #123c3a; color: #e8f7f5; font-size: 12px; font-weight: bold;"
                       " border: 1px solid #2bb3a3; border-radius: 4px;"));
    for (std::size_t i = 0; i < std::size(RoomActionButtons); ++i) {
        PngButton *button = makeControl<PngButton>(this, RoomActionButtons[i].id);
        button->setText(QString::fromLatin1(roomActionName(RoomActionButtons[i].action)));
        button->setMode(ButtonMode::Push);
        button->setToolTip(QString::fromLatin1(RoomActionButtons[i].toolTip));
        button->setEnabled(discovery().unitList().rowCount() != 0);
        roomActionButtons_[i] = button;
    }
}

void CARNDlg::setUpListsAndPages()
{
    picture_->setGeometry(StaticPictureGeometry);

    setUpDeviceList(*unitList_, UnitListColumns);
    setUpDeviceList(*danteList_, DanteListColumns);
    setUpDeviceList(*rdaList_, ProcessorListColumns);

    micPage_ = new CMicDlg(room_, prompts_, this);
    // A strip's equaliser button runs the dialog modally; the strip shows the record after.
    micPage_->setEqualiserOpener([this](int deviceIndex) {
        CInputeqDlg equaliser(store_, link_, clock_, deviceIndex, this, &room_.observers());
        equaliser.exec();
    });
    speakerPage_ = new CSpeakerDlg(room_, prompts_, this);
    routingPage_ = new CMatrixDlg(this);
    routingPage_->setObjectName(QStringLiteral("routingPage"));

    for (std::size_t i = 0; i < pageButtons_.size(); ++i) {
        pageButtons_[i]->setImages(PageButtonImage, PageButtonFirstSelectedImage);
        pageButtons_[i]->setState(i == 0 ? 1 : 0);
    }
}

void CARNDlg::layOutOnce()
{
    if (!initialised_ || laidOut_)
        return;
    const MainWindowGeometry g = mainWindowGeometry(size());
    for (std::size_t i = 0; i < pageButtons_.size(); ++i) {
        pageButtons_[i]->setGeometry(g.pageButtons[i]);
        pageButtons_[i]->setImages(PageButtonImage, PageButtonSelectedImage);
    }
    searchButton_->setGeometry(g.searchButton);
    searchButton_->setImages(SearchOffImage, SearchOnImage);
    helpButton_->setGeometry(g.helpButton);
    helpButton_->setImages(HelpButtonImage, HelpButtonHoverImage, HelpButtonHoverImage);
    localAddress_->setGeometry(g.localAddressLabel);
    checkButton_->setGeometry(g.checkButton);
    checkButton_->setImages(HelpButtonImage, HelpButtonHoverImage, HelpButtonHoverImage);
    roomStatusPlace_ = g.roomStatusLabel;
    roomStatusBesideSelectionPlace_ = g.roomStatusBesideSelection;
    roomStatus_->setGeometry(roomStatusPlace_);
    selectionLine_->setGeometry(g.selectionLine);
    for (std::size_t i = 0; i < roomActionButtons_.size(); ++i) {
        roomActionButtons_[i]->setGeometry(g.roomActionButtons[i]);
        roomActionButtons_[i]->setImages(
            HelpButtonImage, HelpButtonHoverImage, HelpButtonHoverImage);
    }
    unitList_->setGeometry(g.unitList);
    fitColumnsToList(*unitList_);
    rdaList_->setGeometry(g.processorList);
    fitColumnsToList(*rdaList_);
    processorAddress_->setGeometry(g.processorAddressField);
    addProcessorButton_->setGeometry(g.addProcessorButton);
    addProcessorButton_->setImages(HelpButtonImage, HelpButtonHoverImage, HelpButtonHoverImage);
    danteList_->setGeometry(g.danteList);
    for (int column = 0; column < danteList_->columnCount(); ++column)
        danteList_->setColumnWidth(column, DanteColumnWidthsInColumn[column]);
    for (QWidget *page : { static_cast<QWidget *>(micPage_), static_cast<QWidget *>(speakerPage_),
             static_cast<QWidget *>(routingPage_) })
        page->setGeometry(g.pageArea);
    laidOut_ = true;
}

void CARNDlg::connectControls()
{
    for (PngButton *button : pageButtons_)
        connect(button, &PngButton::commanded, this, &CARNDlg::pageButtonPressed);
    connect(searchButton_, &PngButton::commanded, this, &CARNDlg::searchPressed);
    connect(helpButton_, &PngButton::commanded, this, &CARNDlg::openManual);
    connect(checkButton_, &PngButton::commanded, this, [this] { room_.check().run(); });
    for (std::size_t i = 0; i < roomActionButtons_.size(); ++i) {
        const RoomAction action = RoomActionButtons[i].action;
        connect(roomActionButtons_[i], &PngButton::commanded, this,
            [this, action] { room_.actions().run(action); });
    }
    connect(micPage_, &CMicDlg::selectionCountChanged, this, &CARNDlg::showSelectionCount);
    connect(micPage_, &CMicDlg::selectionChangeApplied, this, [this](int changed, int leftAlone) {
        showChangeOutcome(QString::fromStdString(changeOutcomeText(
            "Selection", static_cast<std::size_t>(changed), static_cast<std::size_t>(leftAlone))));
    });
    connect(unitList_, &CListCtrlCl::rowDoubleClicked, this,
        [this](int, int row) { discovery().unitRowActivated(row); });
    connect(rdaList_, &CListCtrlCl::rowDoubleClicked, this,
        [this](int, int row) { discovery().connectRow(row); });
    connect(danteList_, &CListCtrlCl::rowDoubleClicked, this,
        [this](int, int row) { openNetworkSettings(row); });
    connect(addProcessorButton_, &PngButton::commanded, this, &CARNDlg::addProcessor);
    connect(processorAddress_, &QLineEdit::returnPressed, this, &CARNDlg::addProcessor);
}

void CARNDlg::selectPage(Page page)
{
    page_ = page;
    for (std::size_t i = 0; i < pageButtons_.size(); ++i)
        pageButtons_[i]->setState(static_cast<int>(i) == static_cast<int>(page) ? 1 : 0);
    micPage_->setVisible(page == Page::Mic);
    checkButton_->setVisible(page == Page::Mic);
    roomStatus_->setVisible(page == Page::Mic);
    showSelectionLine();
    for (PngButton *button : roomActionButtons_)
        button->setVisible(page == Page::Mic);
    speakerPage_->setVisible(page == Page::Speaker);
    routingPage_->setVisible(page == Page::Routing);

    const bool processors = page == Page::Speaker;
    unitList_->setVisible(page == Page::Mic);
    danteList_->setVisible(page == Page::Routing);
    rdaList_->setVisible(processors);
    processorAddress_->setVisible(processors);
    addProcessorButton_->setVisible(processors);
}

void CARNDlg::pageButtonPressed(int controlId)
{
    switch (controlId) {
    case MicPageButtonId:
        selectPage(Page::Mic);
        break;
    case SpeakerPageButtonId:
        selectPage(Page::Speaker);
        break;
    case RoutingPageButtonId:
        selectPage(Page::Routing);
        break;
    default: // HELP is the manual, not a page: the page shown stays
        openManual();
        break;
    }
}

void CARNDlg::searchPressed()
{
    showLocalAddress();
    discovery().toggleSearch();
}

void CARNDlg::addProcessor()
{
    if (discovery().addProcessor(processorAddress_->text().toStdString()))
        processorAddress_->clear();
}

void CARNDlg::openManual()
{
    openDocument(manualPath_);
}

void CARNDlg::showLocalAddress()
{
    const auto own = ownAddress_ ? ownAddress_() : std::nullopt;
    ownAddressText_ = own ? QString::fromStdString(*own) : QString();
    setStatusLine(localAddressText(own), QColor(150, 160, 175));
}

void CARNDlg::showFramesDropped(std::size_t dropped)
{
    setStatusLine(
        QStringLiteral("Frames are being dropped (%1)").arg(dropped), QColor(235, 170, 60));
}

QString CARNDlg::statusLine() const
{
    return localAddress_->text();
}

QString CARNDlg::roomStatusLine() const
{
    return roomStatus_->toolTip();
}

void CARNDlg::setStatusLine(const QString &text, const QColor &colour)
{
    QPalette palette = localAddress_->palette();
    palette.setColor(QPalette::WindowText, colour);
    localAddress_->setPalette(palette);
    localAddress_->setText(text);
}

void CARNDlg::showAboutBox()
{
    CAboutDlg about(this);
    about.exec();
}

void CARNDlg::paintEvent(QPaintEvent *)
{
    if (banner_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, width(), banner_.height()), banner_);
}

void CARNDlg::resizeEvent(QResizeEvent *event)
{
    layOutOnce();
    fitStartSizeToFrame();
    QWidget::resizeEvent(event);
}

void CARNDlg::moveEvent(QMoveEvent *event)
{
    fitStartSizeToFrame();
    QWidget::moveEvent(event);
}

void CARNDlg::fitStartSizeToFrame()
{
    // The start size is the window's outer size, frame included, so that it fits a
    // 1366 x 768 screen. The frame is known only once a window manager has decorated the
    // window; then the client area shrinks by it and is laid out again, once.
    // The offscreen platform reports a frame that nothing draws; the window keeps its
    // client size there. A window resized before its frame is known keeps that size.
    if (frameFitted_ || !isVisible() || !windowHandle()
        || QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    const QMargins frame = windowHandle()->frameMargins();
    if (frame.isNull())
        return;
    frameFitted_ = true;
    if (size() != MainWindowStartSize)
        return;
    resize(mainWindowClientSize(frame));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft());
    laidOut_ = false;
    layOutOnce();
}

void CARNDlg::closeEvent(QCloseEvent *event)
{
    // Nothing runs yet while the contents are being made: the close waits for them.
    if (!initialised_) {
        closeRequested_ = true;
        event->ignore();
        return;
    }
    emit closing();
    event->accept();
}

void CARNDlg::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->pos().y() < BannerHeight)
        windowMenu_->popup(event->globalPos());
}

void CARNDlg::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton
        && StaticPictureGeometry.contains(event->position().toPoint())) {
        windowMenu_->popup(mapToGlobal(StaticPictureGeometry.bottomLeft()));
        return;
    }
    QWidget::mousePressEvent(event);
}

void CARNDlg::searchChanged(bool pressed)
{
    searchButton_->setState(pressed ? 1 : 0);
    checkButton_->setEnabled(store_.scanActive && !room_.check().summary().running);
    if (pressed)
        noAnswerTimer_->start();
    updateEmptyHint();
}

void CARNDlg::updateEmptyHint()
{
    // Empty states only: any registered unit means the search has been answered.
    const bool answered = std::any_of(store_.unitTable.begin(), store_.unitTable.end(),
        [](const DeviceRecord &unit) { return unit.inUse != 0; });
    CMicDlg::EmptyHint hint = CMicDlg::EmptyHint::None;
    if (!store_.scanActive)
        hint = CMicDlg::EmptyHint::PressSearch;
    else if (!answered && !noAnswerTimer_->isActive())
        hint = CMicDlg::EmptyHint::NoAnswer;
    micPage_->setEmptyHint(hint, ownAddressText_);
}

void CARNDlg::connectionStarted()
{
    if (page_ != Page::Speaker)
        selectPage(Page::Speaker);
}

void CARNDlg::unitListChanged()
{
    updateEmptyHint();
    showRows(*unitList_, discovery().unitList());
    // The actions on every unit wait for a unit to act on, as CHECK waits for the search.
    const bool anyUnit = discovery().unitList().rowCount() != 0;
    for (PngButton *button : roomActionButtons_)
        button->setEnabled(anyUnit);
    markSilentUnits();
    refreshDanteList();
}

void CARNDlg::unitCheckChanged(int, const UnitCheck &)
{
    markSilentUnits();
}

void CARNDlg::markSilentUnits()
{
    const UnitListModel &rows = discovery().unitList();
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        const int slot = slotOfUnitRow(rows, row);
        unitList_->setRowMarked(static_cast<int>(row),
            slot >= 0 && room_.check().unit(slot).state == UnitCheckState::NotResponding);
    }
}

void CARNDlg::roomCheckChanged(RoomCheckEvent event, const RoomCheckSummary &summary)
{
    checkButton_->setEnabled(store_.scanActive && !summary.running);
    checkStatusText_ = QString::fromStdString(roomStatusText(summary, store_));
    if (event == RoomCheckEvent::Started)
        changeOutcome_.clear();
    showRoomStatus();
}

void CARNDlg::roomActionTaken(const RoomActionOutcome &outcome)
{
    showChangeOutcome(QString::fromStdString(roomActionText(outcome)));
}

void CARNDlg::showChangeOutcome(const QString &text)
{
    changeOutcome_ = text;
    showRoomStatus();
}

void CARNDlg::showRoomStatus()
{
    const QString text = changeOutcome_.isEmpty()
        ? checkStatusText_
        : changeOutcome_ + QStringLiteral(" · ") + checkStatusText_;
    roomStatus_->setToolTip(text);
    roomStatus_->setText(
        roomStatus_->fontMetrics().elidedText(text, Qt::ElideRight, roomStatus_->width()));
}

void CARNDlg::showSelectionCount(int count)
{
    selectionLine_->setText(QStringLiteral("Changes apply to %1 selected units").arg(count));
    showSelectionLine();
}

void CARNDlg::showSelectionLine()
{
    const bool shown = page_ == Page::Mic && micPage_->selectionCount() > 1;
    selectionLine_->setVisible(shown);
    roomStatus_->setGeometry(shown ? roomStatusBesideSelectionPlace_ : roomStatusPlace_);
    showRoomStatus();
}

void CARNDlg::processorListChanged()
{
    showRows(*rdaList_, discovery().processorList());
    refreshDanteList();
}

void CARNDlg::refreshDanteList()
{
    RebuildDanteList(
        discovery().unitList(), discovery().processorList(), danteModel_, store_.networkDevices);
    showRows(*danteList_, danteModel_);
}

void CARNDlg::openNetworkSettings(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= danteModel_.rowCount())
        return;
    // The row's own entry, not the first with its name: names repeat.
    auto *dialog = new CDeviceipDlg(store_.networkDevices,
        danteModel_.networkEntry(static_cast<std::size_t>(row)), prompts_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

} // namespace arx
