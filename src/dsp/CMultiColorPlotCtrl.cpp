#include "dsp/CMultiColorPlotCtrl.h"

#include "controls/Artwork.h"

#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QWheelEvent>

#include <span>

namespace arx {

namespace {

const QColor Background(0x2C, 0x2C, 0x2C);
const QColor GridColour(0x80, 0x80, 0x80);
const QColor FramedTotal = QColor::fromRgba(0xFF2B5C6D);
const QColor PlainTotal = QColor::fromRgba(0xFF29A4D0);
const QColor HandleFill = QColor::fromRgba(0xFF29A4D0);
const QColor SelectedHandleFill = QColor::fromRgba(0xA000FF41);
const QColor HandleLabel = QColor::fromRgba(0xFFFFFF00);
constexpr int FirstHandleImage = 188; // handles 1..5: 188..192

QPolygonF polygonOf(const std::vector<PlotPoint> &outline)
{
    QPolygonF polygon;
    polygon.reserve(qsizetype(outline.size()));
    for (const PlotPoint &point : outline)
        polygon << QPointF(point.x, point.y);
    return polygon;
}

QFont pixelFont(const QString &family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

} // namespace

CMultiColorPlotCtrl::CMultiColorPlotCtrl(QWidget *parent)
    : QWidget(parent)
{
    defaultKinds_.fill(BandKindEqualiser);
    axes_.dBmax = 100;
    axes_.dBmin = 0;
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CMultiColorPlotCtrl::setBandCount(int count)
{
    bandCount_ = std::clamp(count, 0, PlotBandCapacity);
}

void CMultiColorPlotCtrl::setDefaultKind(int band, int kind)
{
    defaultKinds_.at(std::size_t(band)) = kind;
}

void CMultiColorPlotCtrl::setDbRange(double dBmax, double dBmin)
{
    axes_.dBmax = dBmax;
    axes_.dBmin = dBmin;
    update();
}

void CMultiColorPlotCtrl::setFramed(bool framed)
{
    framed_ = framed;
    relayout();
}

void CMultiColorPlotCtrl::setLabelsShown(bool shown)
{
    labelsShown_ = shown;
    update();
}

void CMultiColorPlotCtrl::setHandlePosition(int index, double frequency, double gain)
{
    handleFrequencies_.at(std::size_t(index)) = frequency;
    handleGains_.at(std::size_t(index)) = gain;
}

void CMultiColorPlotCtrl::relayout()
{
    axes_.area = plotAreaFor(width(), height(), framed_);
}

void CMultiColorPlotCtrl::refreshHandles()
{
    relayout();
    handles_.placeAll(axes_, handleFrequencies_, handleGains_);
    refreshCurves();
}

void CMultiColorPlotCtrl::refreshCurves()
{
    updateCurves();
    update();
}

void CMultiColorPlotCtrl::updateCurves()
{
    computePlotCurves(std::span(bands_).first(std::size_t(bandCount_)), curves_, total_);
}

// Built once, from the band count and kinds the parent has set by the first show.
void CMultiColorPlotCtrl::buildHandles()
{
    handles_.build(std::span(defaultKinds_).first(std::size_t(bandCount_)));
    for (std::size_t i = 0; i < handleImages_.size(); ++i)
        handleImages_[i] = pngImage(FirstHandleImage + int(i));
    refreshHandles();
}

void CMultiColorPlotCtrl::showEvent(QShowEvent *event)
{
    if (!handles_.isBuilt())
        buildHandles();
    QWidget::showEvent(event);
}

void CMultiColorPlotCtrl::resizeEvent(QResizeEvent *event)
{
    refreshHandles();
    QWidget::resizeEvent(event);
}

QString CMultiColorPlotCtrl::readout() const
{
    const int index = handles_.selected();
    if (!dragFlag_ || index < 0)
        return {};
    // The band as the parent has stored it, which is what the unit receives.
    const PlotBand &band = bands_[std::size_t(index)];
    return QString::fromStdString(pointReadout(band, { band.frequency, band.gain }));
}

void CMultiColorPlotCtrl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Background);
    const PlotArea &area = axes_.area;

    if (framed_) {
        painter.setPen(QPen(GridColour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(area.left, area.top, area.width(), area.height()));
        for (int k = 1; k <= 9; ++k) {
            const int y = area.bottom - k * area.height() / 10;
            painter.drawLine(area.left, y, area.right, y);
        }
        const QPen decade(GridColour, 2);
        const QPen dotted(GridColour, 1, Qt::DotLine);
        for (const int frequency : PlotGridFrequencies) {
            if (frequency <= axes_.fmin || frequency >= axes_.fmax)
                continue;
            painter.setPen(isDecadeLine(frequency) ? decade : dotted);
            const int x = int(axes_.xOf(frequency));
            painter.drawLine(x, area.top, x, area.bottom);
        }
        if (labelsShown_) {
            painter.setPen(GridColour);
            painter.setFont(pixelFont(QStringLiteral("Microsoft Sans Serif"), 16));
            for (const AxisLabel &label : gainLabels(axes_))
                // Wider than the 30 pixels the labels were laid out for, so that "15dB"
                // fits in fonts broader than the one they were measured in.
                painter.drawText(QRectF(0, label.at - 8, area.left - 5, 16),
                    Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                    QString::fromStdString(label.text));
            for (const AxisLabel &label : frequencyLabels(axes_))
                painter.drawText(QRectF(label.at - 15, area.bottom + 2, 30, 16),
                    Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                    QString::fromStdString(label.text));
        }
    }

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(rect());
    if (framed_) {
        for (int b = 0; b < bandCount_; ++b) {
            const QColor colour = QColor::fromRgba(plotBandColour(b));
            painter.setPen(QPen(colour, 1));
            painter.setBrush(colour);
            painter.drawPolygon(polygonOf(curveOutline(axes_, curves_[std::size_t(b)])));
        }
    }
    const QColor total = framed_ ? FramedTotal : PlainTotal;
    painter.setPen(QPen(total, framed_ ? 3 : 1));
    painter.setBrush(total);
    painter.drawPolygon(polygonOf(curveOutline(axes_, total_)));

    if (!framed_)
        return;
    painter.setFont(pixelFont(QStringLiteral("Arial"), 16));
    const std::vector<PlotHandle> &all = handles_.handles();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        const QRect square(it->rect.left, it->rect.top, HandleSize, HandleSize);
        if (it->kind >= BandKindEqualiser && it->kind <= BandKindLowPass) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(it->selected ? SelectedHandleFill : HandleFill);
            painter.drawEllipse(square);
        }
        if (it->number >= 1 && it->number <= int(handleImages_.size())) {
            const QImage &image = handleImages_[std::size_t(it->number - 1)];
            if (!image.isNull())
                painter.drawImage(square, image);
        }
        painter.setPen(HandleLabel);
        painter.drawText(square, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip,
            QString::fromStdString(it->label));
    }

    const QString text = readout();
    const int selected = handles_.selected();
    if (text.isEmpty() || selected < 0)
        return;
    // The readout sits centred above the point, or below it near the top, inside the plot.
    const HandleRect &handle = all[std::size_t(selected)].rect;
    const QFont font = pixelFont(QStringLiteral("Arial"), 13);
    painter.setFont(font);
    const QSize size = QFontMetrics(font).size(Qt::TextSingleLine, text) + QSize(14, 8);
    QRect box(QPoint(handle.centreX() - size.width() / 2, handle.top - size.height() - 4), size);
    if (box.top() < area.top + 2)
        box.moveTop(handle.bottom() + 6);
    box.moveLeft(std::clamp(
        box.left(), area.left + 2, std::max(area.left + 2, area.right - 2 - box.width())));
    painter.setPen(QPen(QColor(0, 229, 255, 200), 1));
    painter.setBrush(QColor(16, 18, 22, 225));
    painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.setPen(QColor(230, 236, 240));
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, text);
}

void CMultiColorPlotCtrl::takePointMessage(bool move)
{
    dragFlag_ = move;
    const int index = handles_.selected();
    if (index < 0)
        return;
    const HandleValues &values = handles_.handles()[std::size_t(index)].values;
    setHandlePosition(index, values.frequency, values.gain);
    refreshHandles();
}

void CMultiColorPlotCtrl::notifyPoint(bool move)
{
    takePointMessage(move);
    const int index = handles_.selected();
    if (index >= 0)
        emit pointMoved(index, move);
}

void CMultiColorPlotCtrl::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    const int hit = handles_.hitTest(point.x(), point.y());
    if (hit < 0) {
        handles_.select(-1);
        update();
        return;
    }
    if (handles_.selected() != hit) {
        handles_.select(hit);
        notifyPoint(false);
    }
    handles_.beginDrag(hit, point.x(), point.y());
    update();
}

// The plot keeps the pointer while the button is held, so a drag that leaves the plot goes on,
// held at the edge of the allowed range, until the release: an operator who overshoots keeps
// the point instead of losing the gesture half way.
void CMultiColorPlotCtrl::mouseMoveEvent(QMouseEvent *event)
{
    if (!handles_.isDragging())
        return;
    const QPoint point = event->position().toPoint();
    handles_.dragTo(axes_, point.x(), point.y());
    notifyPoint(true);
    update();
}

void CMultiColorPlotCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (handles_.isDragging()) {
        handles_.endDrag();
        notifyPoint(false);
    }
    update();
}

void CMultiColorPlotCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const int index = handles_.selected();
    if (index >= 0)
        emit pointReset(index);
}

void CMultiColorPlotCtrl::wheelEvent(QWheelEvent *event)
{
    const int index = handles_.selected();
    const QPoint point = event->position().toPoint();
    if (index < 0 || !handles_.handles()[std::size_t(index)].rect.contains(point.x(), point.y())) {
        event->ignore();
        return;
    }
    event->accept();
    // The accumulator counts notches towards the operator as +1; Q rises away from them.
    const int notches = -wheel_.add(event->angleDelta().y());
    if (notches != 0)
        emit qWheeled(index, notches);
}

// Keys stay with the plot while it has the focus, so that Enter and Escape do not close
// the dialog under a drag.
void CMultiColorPlotCtrl::keyPressEvent(QKeyEvent *event)
{
    event->accept();
}

} // namespace arx
