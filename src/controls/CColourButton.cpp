#include "controls/CColourButton.h"

#include "controls/ControlFonts.h"
#include "controls/ControlId.h"
#include "controls/ControlLook.h"
#include "model/RingColours.h"
#include "seams/Prompts.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace arx {

namespace {

const QColor PaletteFace(0x19, 0x20, 0x2d);
using look::Accent;
using look::FieldBorder;
using look::FieldBottom;
using look::Muted;

QColor toQColor(std::uint32_t wide)
{
    return QColor(redOf(wide), greenOf(wide), blueOf(wide));
}

std::vector<std::uint32_t> makeColours()
{
    std::vector<std::uint32_t> colours;
    for (const IndexedColour &ring : colourIndexTable)
        colours.push_back(wideColour(ring));
    // Greys from white to near black.
    for (int step = 0; step < CColourPalette::Columns; ++step) {
        const auto level = static_cast<std::uint8_t>(255 - step * 255 / 8);
        colours.push_back(wideColour(level, level, level));
    }
    // Eight hues between the ring colours, at three strengths: full, pale and deep.
    constexpr int hues[CColourPalette::Columns] = { 15, 35, 50, 90, 150, 195, 225, 280 };
    for (const auto &[saturation, value] : { std::pair { 255, 255 }, { 120, 255 }, { 255, 150 } }) {
        for (int hue : hues) {
            const QColor colour = QColor::fromHsv(hue, saturation, value);
            colours.push_back(wideColour(static_cast<std::uint8_t>(colour.red()),
                static_cast<std::uint8_t>(colour.green()),
                static_cast<std::uint8_t>(colour.blue())));
        }
    }
    return colours;
}

int rowCount()
{
    const int count = static_cast<int>(CColourPalette::colours().size());
    return (count + CColourPalette::Columns - 1) / CColourPalette::Columns;
}

} // namespace

CColourPalette::CColourPalette(QWidget *owner)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(paletteSize());
}

const std::vector<std::uint32_t> &CColourPalette::colours()
{
    static const std::vector<std::uint32_t> all = makeColours();
    return all;
}

QRect CColourPalette::swatchRect(int index)
{
    const int row = index / Columns;
    const int column = index % Columns;
    // The ring colours stand apart from the rest, under their heading.
    const int top = Margin + HeadingHeight + row * (Swatch + Gap) + (row > 0 ? Gap : 0);
    return { Margin + column * (Swatch + Gap), top, Swatch, Swatch };
}

QRect CColourPalette::moreRect()
{
    const QRect last = swatchRect((rowCount() - 1) * Columns);
    return { Margin, last.bottom() + 1 + Gap + 2, Columns * (Swatch + Gap) - Gap, MoreHeight };
}

QSize CColourPalette::paletteSize()
{
    const QRect more = moreRect();
    return { more.right() + 1 + Margin, more.bottom() + 1 + Margin };
}

int CColourPalette::hitAt(QPoint position)
{
    const int count = static_cast<int>(colours().size());
    for (int index = 0; index < count; ++index) {
        if (swatchRect(index).contains(position))
            return index;
    }
    return moreRect().contains(position) ? MoreHit : NoHit;
}

void CColourPalette::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), PaletteFace);
    painter.setPen(FieldBorder);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    painter.setFont(arialCellFont(12));
    painter.setPen(Muted);
    painter.drawText(QRect(Margin, Margin - 2, width() - 2 * Margin, HeadingHeight),
        Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Ring colours"));

    const auto &all = colours();
    for (int index = 0; index < static_cast<int>(all.size()); ++index) {
        const QRectF swatch = QRectF(swatchRect(index)).adjusted(0.5, 0.5, -0.5, -0.5);
        const std::uint32_t colour = all[static_cast<std::size_t>(index)];
        painter.setBrush(toQColor(colour));
        const bool marked = index == hovered_ || colour == current_;
        painter.setPen(QPen(marked ? Accent : FieldBorder, marked ? 2 : 1));
        painter.drawRoundedRect(swatch, 3, 3);
    }

    const QRect more = moreRect();
    painter.setPen(QPen(hovered_ == MoreHit ? Accent : FieldBorder, 1));
    painter.setBrush(hovered_ == MoreHit ? QColor(0x20, 0x29, 0x3a) : FieldBottom);
    painter.drawRoundedRect(QRectF(more).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.setPen(hovered_ == MoreHit ? Accent : look::Text);
    painter.drawText(more, Qt::AlignCenter, QStringLiteral("More colours…"));
}

void CColourPalette::mouseMoveEvent(QMouseEvent *event)
{
    const int hit = hitAt(event->position().toPoint());
    if (hit != hovered_) {
        hovered_ = hit;
        update();
    }
}

void CColourPalette::leaveEvent(QEvent *)
{
    hovered_ = NoHit;
    update();
}

void CColourPalette::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int hit = hitAt(event->position().toPoint());
    if (hit == NoHit)
        return;
    hide();
    if (hit == MoreHit)
        emit moreColoursChosen();
    else
        emit colourChosen(colours()[static_cast<std::size_t>(hit)]);
}

void CColourPalette::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

CColourButton::CColourButton(Prompts &prompts, QWidget *parent)
    : QWidget(parent)
    , prompts_(prompts)
{
    setCursor(Qt::PointingHandCursor);
}

void CColourButton::setColour(std::uint32_t colour)
{
    if ((colour & 0xFFFFFFu) == colour_)
        return;
    colour_ = colour & 0xFFFFFFu;
    update();
}

bool CColourButton::isPaletteShown() const
{
    return palette_ && palette_->isVisible();
}

QRect CColourButton::paletteGeometry() const
{
    QRect geometry(mapToGlobal(QPoint(0, height())), CColourPalette::paletteSize());
    // A palette that would leave the screen at the bottom opens above the button.
    if (const QScreen *screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        if (geometry.bottom() > available.bottom())
            geometry.moveBottom(mapToGlobal(QPoint(0, 0)).y() - 1);
        if (geometry.right() > available.right())
            geometry.moveRight(available.right());
    }
    return geometry;
}

void CColourButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The colour fills the field left of the chevron.
    look::paintSwatchField(painter, rect(), hovered_ || isPaletteShown(), toQColor(colour_));

    const qreal split = width() - 14;
    QPainterPath chevron;
    const QPointF centre(split + 6.5, height() / 2.0 + 1);
    chevron.moveTo(centre + QPointF(-3, -2));
    chevron.lineTo(centre + QPointF(0, 1));
    chevron.lineTo(centre + QPointF(3, -2));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(
        QPen(hovered_ ? Accent : Muted, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(chevron);
}

void CColourButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // Made at the first press: a page of strips holds many buttons that are never opened.
    if (!palette_) {
        palette_ = new CColourPalette(this);
        connect(palette_, &CColourPalette::colourChosen, this, &CColourButton::pick);
        connect(
            palette_, &CColourPalette::moreColoursChosen, this, &CColourButton::askColourDialog);
    }
    palette_->setCurrent(colour_);
    palette_->setGeometry(paletteGeometry());
    palette_->show();
    palette_->setFocus(Qt::PopupFocusReason);
    update();
}

void CColourButton::enterEvent(QEnterEvent *)
{
    hovered_ = true;
    update();
}

void CColourButton::leaveEvent(QEvent *)
{
    hovered_ = false;
    update();
}

void CColourButton::pick(std::uint32_t colour)
{
    setColour(colour);
    emit colourPicked(controlId(this));
}

void CColourButton::askColourDialog()
{
    if (const std::optional<std::uint32_t> chosen = prompts_.chooseColour(colour_))
        pick(*chosen);
    else
        update();
}

} // namespace arx
