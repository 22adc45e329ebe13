#include "controls/CHeaderCtrlCl.h"

#include "controls/ControlFonts.h"

#include <QPainter>

namespace arx {

namespace {
constexpr int CaptionInset = 3; // left and right captions keep off the column's edges
}

Qt::Alignment columnAlignment(const QString &alignments, int column)
{
    const QChar code = column >= 0 && column < alignments.size() ? alignments.at(column) : u'1';
    if (code == u'0')
        return Qt::AlignLeft;
    if (code == u'2')
        return Qt::AlignRight;
    return Qt::AlignHCenter;
}

CHeaderCtrlCl::CHeaderCtrlCl(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(false);
    setSectionsMovable(false);
    setHighlightSections(false);
    setSortIndicatorShown(false);
    setSectionResizeMode(QHeaderView::Fixed);
    setStretchLastSection(false);
}

void CHeaderCtrlCl::setItemTexts(const QStringList &texts)
{
    texts_ = texts;
    viewport()->update();
}

void CHeaderCtrlCl::setAlignmentString(const QString &alignments)
{
    alignments_ = alignments;
    viewport()->update();
}

void CHeaderCtrlCl::setBaseColour(Rgb base)
{
    base_ = base;
    viewport()->update();
}

void CHeaderCtrlCl::setGradientStep(int step)
{
    step_ = step;
    viewport()->update();
}

void CHeaderCtrlCl::setHeightFactor(double factor)
{
    heightFactor_ = factor;
    updateGeometry();
    emit geometriesChanged(); // the list lays its rows out under the new height
}

void CHeaderCtrlCl::setFontSize(int height, int width)
{
    fontHeight_ = height;
    fontWidth_ = width;
    viewport()->update();
}

void CHeaderCtrlCl::setTextColour(const QColor &colour)
{
    textColour_ = colour;
    viewport()->update();
}

QSize CHeaderCtrlCl::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(static_cast<int>(size.height() * heightFactor_));
    return size;
}

void CHeaderCtrlCl::paintGradient(QPainter &painter, const QRect &area) const
{
    for (int line = 0; line < area.height(); ++line) {
        const Rgb colour = headerGradientLine(base_, step_, line);
        painter.fillRect(area.left(), area.top() + line, area.width(), 1,
            QColor(colour.red, colour.green, colour.blue));
    }
}

void CHeaderCtrlCl::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Button));
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(simSunCellFont(fontHeight_, fontWidth_));
    painter.setPen(textColour_);

    const int height = viewport()->height();
    int end = 0;
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (isSectionHidden(logical))
            continue;
        const int left = sectionViewportPosition(logical);
        const int width = sectionSize(logical);
        end = left + width;
        // The column's first pixel stays unpainted: it is the divider.
        paintGradient(painter, QRect(left + 1, 0, width - 1, height));

        const Qt::Alignment alignment = columnAlignment(alignments_, logical);
        QRect text(left, 0, width, height);
        if (alignment == Qt::AlignLeft)
            text.setLeft(text.left() + CaptionInset);
        else if (alignment == Qt::AlignRight)
            text.setRight(text.right() - CaptionInset);
        const QString caption = logical < texts_.size() ? texts_.at(logical) : QString();
        painter.drawText(text, alignment | Qt::AlignVCenter | Qt::TextSingleLine, caption);
    }
    if (end + 1 < viewport()->width())
        paintGradient(painter, QRect(end + 1, 0, viewport()->width() - end - 1, height));
}

} // namespace arx
