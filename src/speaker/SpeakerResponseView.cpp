#include "speaker/SpeakerResponseView.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace arx {

namespace {

const QColor Background(12, 16, 22);
const QColor GridLine(52, 60, 72);
const QColor ZeroLine(110, 120, 135);
const QColor AxisText(150, 160, 175);
// Channel A in the page's teal, channel B in amber.
const QColor ChannelColours[SpeakerChannelCount] = { QColor(0, 220, 240), QColor(255, 170, 40) };
const char *const ChannelNames[SpeakerChannelCount]
    = { "CH A (HIGH SPERKER)", "CH B (LOW SPERKER)" };

constexpr double GridFrequencies[] = { 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000 };
const char *const GridFrequencyTexts[]
    = { "20", "50", "100", "200", "500", "1k", "2k", "5k", "10k", "20k" };
constexpr double DbStep = 6.0;

constexpr int LeftMargin = 44;
constexpr int TopMargin = 30;
constexpr int RightMargin = 24;
constexpr int BottomMargin = 26;

} // namespace

SpeakerResponseView::SpeakerResponseView(const SpeakerStore &speaker, QWidget *parent)
    : QWidget(parent)
    , speaker_(speaker)
{
    setMinimumSize(360, 200);
    refresh();
}

void SpeakerResponseView::refresh()
{
    response_.compute(speaker_);
    update();
}

QRect SpeakerResponseView::plotArea() const
{
    return rect().adjusted(LeftMargin, TopMargin, -RightMargin, -BottomMargin);
}

ResponseAxes SpeakerResponseView::axes() const
{
    const QRect area = plotArea();
    return { .width = double(area.width()),
        .height = double(area.height()),
        .topDb = TopDb,
        .bottomDb = BottomDb };
}

void SpeakerResponseView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    response_.setAxes(axes());
    refresh();
}

void SpeakerResponseView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Background);
    const QRect area = plotArea();
    const ResponseAxes axes = this->axes();
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);

    for (std::size_t i = 0; i < std::size(GridFrequencies); ++i) {
        const double x = area.left() + axes.x(GridFrequencies[i]);
        painter.setPen(GridLine);
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        painter.setPen(AxisText);
        painter.drawText(QRectF(x - 20, area.bottom() + 4, 40, 16), Qt::AlignCenter,
            QString::fromLatin1(GridFrequencyTexts[i]));
    }
    for (double db = TopDb; db >= BottomDb; db -= DbStep) {
        const double y = area.top() + axes.y(db);
        painter.setPen(db == 0.0 ? ZeroLine : GridLine);
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(AxisText);
        painter.drawText(QRectF(0, y - 8, LeftMargin - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
            QString::number(db, 'f', 0));
    }
    painter.drawText(QRectF(0, 4, LeftMargin + 40, 20), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("  dB"));
    painter.drawText(QRectF(0, area.bottom() + 4, LeftMargin - 24, 16),
        Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Hz"));

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(area);
    const std::span<const double> frequencies = response_.frequencies();
    for (int channel = 0; channel < SpeakerChannelCount; ++channel) {
        QPainterPath path;
        bool drawing = false;
        const std::span<const double> values = response_.decibels(channel);
        for (std::size_t k = 0; k < frequencies.size(); ++k) {
            if (!std::isfinite(values[k])) {
                drawing = false;
                continue;
            }
            const QPointF point(
                area.left() + axes.x(frequencies[k]), area.top() + axes.y(values[k]));
            if (drawing)
                path.lineTo(point);
            else
                path.moveTo(point);
            drawing = true;
        }
        painter.setPen(QPen(ChannelColours[channel], 2.0));
        painter.drawPath(path);
    }
    painter.setClipping(false);

    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    int x = area.left() + 8;
    for (int channel = 0; channel < SpeakerChannelCount; ++channel) {
        painter.fillRect(QRect(x, 11, 18, 3), ChannelColours[channel]);
        painter.setPen(ChannelColours[channel]);
        const QString name = QString::fromLatin1(ChannelNames[channel]);
        painter.drawText(QRect(x + 24, 4, 200, 18), Qt::AlignLeft | Qt::AlignVCenter, name);
        x += 24 + painter.fontMetrics().horizontalAdvance(name) + 24;
    }
}

} // namespace arx
