// Gallery page: the response plot framed with five bands (shelves, peaks, the low cut on and
// its points), framed with every band flat, and unframed as a small summary curve.
#include "GallerySection.h"

#include "dsp/CMultiColorPlotCtrl.h"

#include <QLabel>
#include <QWidget>

namespace arx::gallery {

namespace {

QLabel *heading(QWidget *parent, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(x, y, 600, 24);
    label->setStyleSheet(QStringLiteral("color: #e6e8eb; font-size: 15px; font-weight: bold;"));
    return label;
}

struct BandSetting {
    double frequency;
    double gain;
    double q;
    int shape;
};

void makePlot(QWidget *parent, const QRect &geometry, bool framed, const BandSetting (&bands)[4],
    bool lowCutOn)
{
    auto *plot = new CMultiColorPlotCtrl(parent);
    plot->setBandCount(5);
    plot->setDefaultKind(4, BandKindHighPass);
    plot->setDbRange(15, -15);
    plot->setFramed(framed);
    plot->setGeometry(geometry);
    for (int b = 0; b < 4; ++b) {
        PlotBand &band = plot->band(b);
        band = { .gain = bands[b].gain,
            .q = bands[b].q,
            .frequency = bands[b].frequency,
            .shape = bands[b].shape,
            .kind = BandKindEqualiser,
            .enabled = 1 };
        plot->setHandlePosition(b, bands[b].frequency, bands[b].gain);
    }
    plot->band(4) = { .q = 6, .frequency = 90, .kind = BandKindHighPass, .enabled = lowCutOn };
    plot->setHandlePosition(4, 90, 0);
    plot->refreshHandles();
}

QWidget *makePage()
{
    auto *page = new QWidget;
    page->setMinimumSize(1000, 720);
    const BandSetting shaped[4] = { { 150, 5, 0.9, EqShapeLowShelf }, { 450, -8, 2.5, 0 },
        { 2500, 6, 1.4, 0 }, { 8000, 4, 1.0, EqShapeHighShelf } };
    const BandSetting flat[4]
        = { { 100, 0, 2, 0 }, { 500, 0, 2, 0 }, { 2000, 0, 2, 0 }, { 5000, 0, 2, 0 } };

    heading(page, QStringLiteral("Shelves, peaks and the low cut on"), 20, 10);
    makePlot(page, { 20, 40, 860, 260 }, true, shaped, true);
    heading(page, QStringLiteral("Every band flat, low cut off"), 20, 320);
    makePlot(page, { 20, 350, 860, 220 }, true, flat, false);
    heading(page, QStringLiteral("Unframed summary"), 20, 590);
    makePlot(page, { 20, 620, 300, 80 }, false, shaped, true);
    return page;
}

const bool registered = registerSection({ 30, "Response plot", makePage });

} // namespace
} // namespace arx::gallery
