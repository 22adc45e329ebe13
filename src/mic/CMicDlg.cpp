#include "mic/CMicDlg.h"

#include "room/Room.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QTextDocument>
#include <QWheelEvent>

#include <algorithm>

namespace arx {

namespace {

bool isSlot(int slot)
{
    return slot >= 0 && slot < UnitSlotCount;
}

// The page's text while it shows no strip, as rich text: a headline and what to do.
QString hintText(CMicDlg::EmptyHint hint, const QString &ownAddress)
{
    if (hint == CMicDlg::EmptyHint::None)
        return {};
    const QString page = QStringLiteral("<p style='font-size:22px; color:#e8eef5'>%1</p>"
                                        "<div style='font-size:15px; color:#aab6c4'>%2</div>");
    if (ownAddress.isEmpty())
        return page.arg(QStringLiteral("No address of this computer was found"),
            QStringLiteral("<p>The units cannot be told where to answer. Start ARX with "
                           "<b>--interface</b> and this computer's address on the units' "
                           "network.</p>"));
    if (hint == CMicDlg::EmptyHint::PressSearch)
        return page.arg(QStringLiteral("Press SEARCH to find the microphone units"),
            QStringLiteral("<p>The units will be told to answer to <b>%1</b>, UDP port "
                           "39030.</p>")
                .arg(ownAddress));
    return page.arg(QStringLiteral("No microphone unit has answered the search"),
        QStringLiteral(
            "<p>The search has run for 3 seconds. Check that</p><ul>"
            "<li style='margin-bottom:6px'>the units are told to answer on their own network: ARX "
            "gives them <b>%1</b>. "
            "If they are on another network interface, start ARX with <b>--interface</b> and "
            "this computer's address on that network;</li>"
            "<li style='margin-bottom:6px'>a firewall on this computer lets UDP port 39030 in;</li>"
            "<li style='margin-bottom:6px'>the units are switched on and on the same network as "
            "this computer.</li></ul>")
            .arg(ownAddress));
}

} // namespace

CMicDlg::CMicDlg(Room &room, Prompts &prompts, QWidget *parent)
    : QWidget(parent)
    , room_(room)
    , prompts_(prompts)
    , bar_(new QScrollBar(Qt::Vertical, this))
{
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    // A dark bar, so that the black page does not carry a light stripe.
    bar_->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: #0b0f14; width: 14px; margin: 0; }"
        "QScrollBar::handle:vertical { background: #2c3644; min-height: 24px;"
        " border-radius: 4px; margin: 2px; }"
        "QScrollBar::handle:vertical:hover { background: #3d4b5e; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
    bar_->setSingleStep(1);
    bar_->setTracking(true);
    bar_->setRange(1, 1);
    bar_->setValue(1);
    connect(bar_, &QScrollBar::valueChanged, this, &CMicDlg::scrollContentsTo);

    bar_->raise();
    // While the page shows: the window's Ctrl+A and Escape are the selection's.
    new QShortcut(QKeySequence::SelectAll, this, this, &CMicDlg::selectAllStrips);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &CMicDlg::clearSelection);
    // Strips are made while units register; their fonts are ready before.
    CInputDlg::prepareFonts();
    ready_ = true;
    room.observers().add(*this);
}

CMicDlg::~CMicDlg()
{
    room_.observers().remove(*this);
}

void CMicDlg::setEqualiserOpener(const EqualiserOpener &opener)
{
    equaliserOpener_ = opener;
    for (CInputDlg *made : strips_) {
        if (made)
            made->setEqualiserOpener(opener);
    }
}

void CMicDlg::ShowStrip(int slot)
{
    if (!isSlot(slot))
        return;
    CInputDlg *shown = strip(slot);
    if (shown->isStripShown()) {
        shown->RebuildCopyList();
    } else {
        shown->setSlotIndex(slot + 1);
        // Where the slot lies in the column as it is scrolled now, so that a strip shown
        // while the page is scrolled never lands on another.
        shown->setGeometry(stripGeometry(slot).translated(0, -(scrollPos_ - 1)));
        shown->InitStrip();
    }
    if (shown->isStripShown()) {
        shown->RefreshFromRecord();
        shown->showCheck(room_.check().unit(slot));
    }
}

void CMicDlg::hideStrip(int slot)
{
    if (CInputDlg *made = madeStrip(slot)) {
        made->closeStrip();
        made->showCheck(UnitCheck {});
    }
}

void CMicDlg::unitCheckChanged(int slot, const UnitCheck &check)
{
    // A strip made later shows the check's state when it is first shown.
    if (CInputDlg *made = madeStrip(slot))
        made->showCheck(check);
}

void CMicDlg::answerDifference(int slot, DifferenceAnswer answer)
{
    if (answer == DifferenceAnswer::TakeUnitSettings)
        room_.check().takeUnitSettings(slot);
    else
        room_.check().sendSettingsAgain(slot);
}

void CMicDlg::refreshStrip(int slot)
{
    if (isStripShown(slot))
        madeStrip(slot)->RefreshFromRecord();
}

void CMicDlg::updateMeter(int slot)
{
    if (isStripShown(slot))
        madeStrip(slot)->UpdateMeter();
}

void CMicDlg::setEmptyHint(EmptyHint hint, const QString &ownAddress)
{
    if (hint == hint_ && ownAddress == ownAddress_)
        return;
    hint_ = hint;
    ownAddress_ = ownAddress;
    hintDrawn_ = !emptyHintText().isEmpty();
    update();
}

void CMicDlg::stripShownOrHidden()
{
    // The page itself draws only the hint: repainting it, and with it every strip on it, at
    // each of 64 registrations cost more than the registrations themselves.
    const bool drawn = !emptyHintText().isEmpty();
    if (drawn == hintDrawn_)
        return;
    hintDrawn_ = drawn;
    update();
}

QString CMicDlg::emptyHintText() const
{
    for (const CInputDlg *made : strips_) {
        if (made && made->isStripShown())
            return {};
    }
    return hintText(hint_, ownAddress_);
}

void CMicDlg::paintEvent(QPaintEvent *)
{
    const QString text = emptyHintText();
    if (text.isEmpty())
        return;
    QTextDocument document;
    document.setHtml(text);
    const int margin = 80;
    document.setTextWidth(std::min(clientWidth() - 2 * margin, 720));
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const int top = std::max(margin, static_cast<int>(height() - document.size().height()) / 3);
    painter.translate(margin, top);
    // The list's bullets take the palette's text colour, not the text's.
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, QColor(0xaa, 0xb6, 0xc4));
    document.documentLayout()->draw(&painter, context);
}

bool CMicDlg::isStripShown(int slot) const
{
    const CInputDlg *made = madeStrip(slot);
    return made && made->isStripShown();
}

std::vector<int> CMicDlg::shownStrips() const
{
    std::vector<int> shown;
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        if (isStripShown(slot))
            shown.push_back(slot);
    }
    return shown;
}

CInputDlg *CMicDlg::strip(int slot)
{
    if (!isSlot(slot))
        return nullptr;
    CInputDlg *&made = strips_[static_cast<std::size_t>(slot)];
    if (!made) {
        made = new CInputDlg(room_.units(), prompts_, this);
        made->setSlotIndex(slot + 1);
        made->setEqualiserOpener(equaliserOpener_);
        made->installEventFilter(this); // its showing and hiding decide the empty-page text
        for (QWidget *selector : made->wheelSelectors())
            selector->installEventFilter(this);
        connect(made, &CInputDlg::differenceAnswered, this, &CMicDlg::answerDifference);
        connect(made, &CInputDlg::pictureClicked, this, &CMicDlg::clickStrip);
        connect(made, &CInputDlg::appliedToUnits, this, &CMicDlg::selectionChangeApplied);
        made->setChangeTargets([this](int slot) { return selection_.targetsOf(slot); });
        made->stackUnder(bar_);
    }
    return made;
}

void CMicDlg::clickStrip(int slot, bool shift)
{
    selection_.click(slot, shift, shownStrips());
    showSelection();
}

void CMicDlg::selectAllStrips()
{
    selection_.selectAll(shownStrips());
    showSelection();
}

void CMicDlg::clearSelection()
{
    selection_.clear();
    showSelection();
}

void CMicDlg::showSelection()
{
    // Only strips already made: selecting never makes one.
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        if (CInputDlg *made = madeStrip(slot))
            made->setSelected(selection_.contains(slot));
    }
    emit selectionCountChanged(selection_.count());
}

CInputDlg *CMicDlg::madeStrip(int slot) const
{
    return isSlot(slot) ? strips_[static_cast<std::size_t>(slot)] : nullptr;
}

bool CMicDlg::event(QEvent *event)
{
    // A modal dialog's opening and closing are passed down to every control of every strip,
    // which with 64 strips takes milliseconds each way; a page not shown has no use for them.
    const bool blocking
        = event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked;
    if (blocking && !isVisible())
        return true;
    return QWidget::event(event);
}

QRect CMicDlg::stripGeometry(int slot) const
{
    return { StripLeft, StripPitch * slot + StripTop, clientWidth() - 2 * StripLeft,
        CInputDlg::StripHeight };
}

int CMicDlg::clientWidth() const
{
    return width() - bar_->width();
}

void CMicDlg::resizeEvent(QResizeEvent *event)
{
    const int barWidth = bar_->sizeHint().width();
    bar_->setGeometry(width() - barWidth, 0, barWidth, height());

    // The bar starts over at the top, but the contents stay where they are: the next
    // scroll moves them by the difference from where they were last scrolled to.
    const int clientHeight = std::max(height(), 1);
    const QSignalBlocker quiet(bar_);
    bar_->setPageStep(clientHeight);
    bar_->setRange(1, clientHeight * pageCount - clientHeight + 1);
    bar_->setValue(1);
    QWidget::resizeEvent(event);
}

void CMicDlg::wheelEvent(QWheelEvent *event)
{
    event->accept();
    if (gesture_.route(room_.clock().monotonicMs(), false) == WheelGesture::Target::Page)
        scrollByWheel(event);
}

bool CMicDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
        if (auto *made = qobject_cast<CInputDlg *>(watched)) {
            stripShownOrHidden();
            // A closed strip, or one whose unit left, leaves the selection; one hidden with
            // the page stays in it.
            if (!made->isStripShown() && selection_.contains(made->deviceIndex())) {
                selection_.remove(made->deviceIndex());
                showSelection();
            }
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() != QEvent::Wheel || !ready_)
        return QWidget::eventFilter(watched, event);
    // A selector steps only for a gesture that started over it; otherwise the page scrolls.
    if (gesture_.route(room_.clock().monotonicMs(), true) == WheelGesture::Target::Selector)
        return false;
    auto *wheel = static_cast<QWheelEvent *>(event);
    wheel->accept();
    scrollByWheel(wheel);
    return true;
}

void CMicDlg::scrollByWheel(QWheelEvent *event)
{
    const int step = wheel_.add(event->angleDelta().y());
    if (step != 0)
        bar_->setValue(bar_->value() + step * StripPitch);
}

void CMicDlg::scrollContentsTo(int position)
{
    const int distance = scrollPos_ - position;
    if (distance == 0)
        return;
    for (CInputDlg *made : strips_) {
        if (made)
            made->move(made->pos() + QPoint(0, distance));
    }
    scrollPos_ = position;
}

} // namespace arx
