#include "mic/CInputeqDlg.h"

#include "controls/CBitmapSlider.h"
#include "controls/CSpinBtn.h"
#include "controls/CStaticST.h"
#include "controls/ControlId.h"
#include "controls/PngButton.h"
#include "dsp/CMultiColorPlotCtrl.h"

#include <QFrame>
#include <QPainter>

namespace arx {

namespace {

const QColor DialogBackground(0x3C, 0x3C, 0x3C);
const QColor FrameFill(0x30, 0x33, 0x38);
const QColor RowTitleColour(200, 204, 210);
const QColor ColumnTitleColour(0, 229, 255);

constexpr int PlotX = 20;
constexpr int PlotY = 50;
constexpr int PlotHeight = 220;
constexpr int FramesTop = 280;
constexpr int FramesBottom = 450;
constexpr int TitleY = 285;
constexpr int RowY[3] = { 320, 360, 400 }; // gain, frequency, Q
constexpr int SliderGap = 2; // each slider sits this far under its knob

constexpr int LowCutSwitchOff = 212;
constexpr int LowCutSwitchOn = 213;
constexpr int ResetNormal = 216;
constexpr int ResetPressed = 217;
constexpr int ButtonCaptionPoints = 8; // between the switch's glyph and its light
constexpr int ThinChannel = 340; // left of the thumb
constexpr int ThinChannelRest = 341; // right of it
constexpr int ThinThumb = 342;
constexpr int ThinThumbActive = 343;

constexpr double InitialHandleFrequencies[5] = { 100, 500, 2000, 5000, 20 };
constexpr int LowCutSlope = 6; // the plot draws the low cut at slope index 6

const EqField BandFields[3] = { EqField::Gain, EqField::Frequency, EqField::Q };

ValueKind knobKind(EqField field)
{
    switch (field) {
    case EqField::Gain:
        return ValueKind::Gain;
    case EqField::Q:
        return ValueKind::Q;
    default:
        return ValueKind::Frequency;
    }
}

// The row of a field's knob: gain, frequency (and the low cut's frequency), Q.
int rowOf(EqField field)
{
    switch (field) {
    case EqField::Gain:
        return 0;
    case EqField::Q:
        return 2;
    default:
        return 1;
    }
}

// The start values the knobs show before the first reload.
int knobStart(EqField field)
{
    switch (field) {
    case EqField::Gain:
        return 0;
    case EqField::Q:
        return 1;
    default:
        return 20;
    }
}

template <class Control> Control *makeControl(Control *control, int id)
{
    setControlId(control, id);
    return control;
}

CStaticST *makeTitle(QWidget *parent, int id, const QString &text, const QColor &fill,
    const QColor &colour, int alignment)
{
    auto *title = makeControl(new CStaticST(parent), id);
    title->setText(text);
    title->setTransparent(false);
    title->setFillColour(fill);
    title->setTextColour(colour);
    title->setTextSize(9);
    title->setAlignment(alignment);
    return title;
}

} // namespace

CInputeqDlg::CInputeqDlg(Store &store, Link &link, const Clock &clock, int deviceIndex,
    QWidget *parent, RoomObservers *observers)
    : QDialog(parent)
    , observers_(observers)
    , equaliser_(store, link, clock, deviceIndex, *this, observers)
    , clock_(clock)
    , record_(store.unitTable.at(std::size_t(deviceIndex)))
{
    setWindowTitle(QStringLiteral("EQ"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    createControls();
    configurePlot();
    resize(DialogWidth, DialogHeight);
    initialised_ = true;
    layOut();
    equaliser_.requestReload();
    connect(&timer_, &QTimer::timeout, this, &CInputeqDlg::timerTick);
    timer_.start(TimerMs);
    if (observers_)
        observers_->add(*this);
}

CInputeqDlg::~CInputeqDlg()
{
    if (observers_)
        observers_->remove(*this);
}

void CInputeqDlg::unitChanged(int slot, UnitFields changed)
{
    // Its own edits are on screen already; a reload mid-drag would move the handles.
    if (slot == equaliser_.deviceIndex() && !equaliser_.announcing()
        && !(changed & (EqualiserFields | UnitField::LowCut)).empty())
        equaliser_.requestReload();
}

void CInputeqDlg::createControls()
{
    plot_ = makeControl(new CMultiColorPlotCtrl(this), eqid::Plot);
    for (std::size_t j = 0; j < frames_.size(); ++j) {
        auto *frame = makeControl(new QFrame(this), eqid::BandFrames[j]);
        frame->setStyleSheet(QStringLiteral(
            "QFrame { background: #303338; border: 1px solid #4a4e56; border-radius: 4px; }"));
        frames_[j] = frame;
    }
    const std::pair<int, const char *> rows[] = { { eqid::BandTitle, "Band" },
        { eqid::GainTitle, "GAIN" }, { eqid::FrequencyTitle, "FREQUENCY" }, { eqid::QTitle, "Q" } };
    for (std::size_t i = 0; i < rowTitles_.size(); ++i)
        rowTitles_[i] = makeTitle(this, rows[i].first, QString::fromLatin1(rows[i].second),
            DialogBackground, RowTitleColour, CStaticST::Near);
    for (std::size_t j = 0; j < columnTitles_.size(); ++j)
        columnTitles_[j] = makeTitle(this, eqid::ColumnTitles[j],
            j < 4 ? QString::asprintf("%d", int(j) + 1) : QStringLiteral("LOW CUT"), FrameFill,
            ColumnTitleColour, CStaticST::Centre);

    std::size_t knob = 0;
    std::size_t slider = 0;
    for (const EqControl &control : eqControls()) {
        const EqRange range = eqRange(control.field, control.slider);
        if (control.slider) {
            auto *s = makeControl(new CBitmapSlider(this), control.id);
            s->setChannelImages(ThinChannel, ThinChannelRest);
            s->setThumbImages(ThinThumb, ThinThumbActive);
            s->setRange(range.minimum, range.maximum);
            s->setPageStep(std::max(1, (range.maximum - range.minimum) / 20));
            connect(s, &CBitmapSlider::sliderMoving, this,
                [this](int id, int position) { equaliser_.controlChanged(id, position, false); });
            connect(s, &CBitmapSlider::sliderMoved, this,
                [this](int id, int position) { equaliser_.controlChanged(id, position, true); });
            sliders_[slider++] = s;
        } else {
            auto *k = makeControl(new CSpinBtn(clock_, this), control.id);
            k->setRange(range.minimum, range.maximum);
            k->setValueKind(knobKind(control.field));
            k->setValue(knobStart(control.field));
            connect(k, &CSpinBtn::spinChanged, this,
                [this](int id, int value) { equaliser_.controlChanged(id, value, false); });
            knobs_[knob++] = k;
        }
    }

    lowCutSwitch_ = makeControl(new PngButton(this), eqid::LowCutSwitch);
    lowCutSwitch_->setText(QStringLiteral("LOW CUT"));
    lowCutSwitch_->setMode(ButtonMode::Toggle);
    lowCutSwitch_->setSizeMode(1);
    lowCutSwitch_->setCaptionSize(ButtonCaptionPoints);
    lowCutSwitch_->setImages(LowCutSwitchOff, LowCutSwitchOn);
    connect(lowCutSwitch_, &PngButton::commanded, this, [this] { equaliser_.lowCutSwitched(); });

    resetButton_ = makeControl(new PngButton(this), eqid::Reset);
    resetButton_->setText(QStringLiteral("Reset"));
    resetButton_->setMode(ButtonMode::Push);
    resetButton_->setSizeMode(1);
    resetButton_->setCaptionSize(ButtonCaptionPoints);
    resetButton_->setImages(ResetNormal, ResetPressed, ResetPressed);
    connect(resetButton_, &PngButton::commanded, this, [this] { equaliser_.reset(); });
}

void CInputeqDlg::configurePlot()
{
    plot_->setBandCount(5);
    plot_->setDefaultKind(4, BandKindHighPass);
    plot_->setDbRange(15, -15);
    plot_->setFramed(true);
    for (int h = 0; h < 5; ++h)
        plot_->setHandlePosition(h, InitialHandleFrequencies[h], 0.0);
    plot_->setGeometry(PlotX, PlotY, DialogWidth - 2 * PlotX, PlotHeight);
    connect(plot_, &CMultiColorPlotCtrl::pointMoved, this, [this](int band, bool dragging) {
        equaliser_.pointMoved(
            band, plot_->handleFrequency(band), plot_->handleGain(band), dragging);
    });
    connect(plot_, &CMultiColorPlotCtrl::pointReset, this,
        [this](int band) { equaliser_.pointReset(band, plot_->handleFrequency(band)); });
    connect(plot_, &CMultiColorPlotCtrl::qWheeled, this,
        [this](int band, int notches) { equaliser_.qWheeled(band, notches); });
}

void CInputeqDlg::layOut()
{
    const int w = width();
    plot_->setGeometry(PlotX, PlotY, w - 2 * PlotX, plot_->height());
    plot_->relayout();

    for (int j = 0; j < 5; ++j) {
        const int x = w * (j + 1) / 7;
        frames_[std::size_t(j)]->setGeometry(
            x - 15, FramesTop, w * (j + 2) / 7 - 25 - (x - 15), FramesBottom - FramesTop);
        columnTitles_[std::size_t(j)]->setGeometry(x, TitleY, 80, 24);
    }
    for (const EqControl &control : eqControls()) {
        QWidget *widget = findControl(this, control.id);
        const int column = control.band - 1;
        const int x = w * (column + 1) / 7 - 5;
        const int y = RowY[rowOf(control.field)];
        if (control.slider)
            widget->move(x, y + 20 + SliderGap);
        else
            widget->move(x, y);
    }
    const int lowCutX = w * 5 / 7;
    lowCutSwitch_->move(lowCutX, RowY[0]);
    resetButton_->move(lowCutX, RowY[2]);

    const int rowTitleY[4] = { TitleY, RowY[0], RowY[1], RowY[2] };
    for (std::size_t i = 0; i < rowTitles_.size(); ++i)
        rowTitles_[i]->setGeometry(10, rowTitleY[i], 100, 24);
    equaliser_.requestReload();
}

void CInputeqDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (initialised_)
        layOut();
}

void CInputeqDlg::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), DialogBackground);
}

void CInputeqDlg::done(int result)
{
    equaliser_.sendPendingNow();
    QDialog::done(result);
}

void CInputeqDlg::timerTick()
{
    equaliser_.tick();
}

void CInputeqDlg::showBand(int band, int exceptId)
{
    const auto show = [&](EqField field, int code) {
        for (const bool slider : { false, true }) {
            const EqControl &control = eqControlFor(band, field, slider);
            if (control.id == exceptId)
                continue;
            const int value = eqControlFromCode(field, slider, code);
            if (slider)
                findControl<CBitmapSlider>(this, control.id)->setPosition(value);
            else
                findControl<CSpinBtn>(this, control.id)->setValue(value);
        }
    };
    if (band == EqLowCutBand) {
        show(EqField::LowCutFrequency, record_.eqLowCutFrequency);
        lowCutSwitch_->setState(record_.eqLowCutOn ? 1 : 0);
        return;
    }
    const MicEqBand &settings = record_.eqBands[band - 1];
    show(EqField::Gain, settings.gain);
    show(EqField::Frequency, settings.frequency);
    show(EqField::Q, settings.q);
}

void CInputeqDlg::loadPlotBands()
{
    for (int b = 0; b < MicEqBandCount; ++b) {
        const MicEqBand &settings = record_.eqBands[b];
        PlotBand &band = plot_->band(b);
        band.kind = plot_->defaultKind(b);
        band.gain = (settings.gain - 300) / 10.0;
        band.q = settings.q / 10.0;
        band.frequency = settings.frequency;
        band.shape = settings.shape;
        band.enabled = 1;
    }
    PlotBand &lowCut = plot_->band(4);
    lowCut.kind = plot_->defaultKind(4);
    lowCut.q = LowCutSlope;
    lowCut.gain = 0;
    lowCut.frequency = record_.eqLowCutFrequency;
    lowCut.enabled = record_.eqLowCutOn;
}

void CInputeqDlg::showPlotBands()
{
    loadPlotBands();
    plot_->refreshCurves();
}

void CInputeqDlg::showPlot()
{
    for (int b = 0; b < MicEqBandCount; ++b)
        plot_->setHandlePosition(
            b, record_.eqBands[b].frequency, (record_.eqBands[b].gain - 300) / 10.0);
    plot_->setHandlePosition(4, record_.eqLowCutFrequency, 0.0);
    loadPlotBands();
    plot_->refreshHandles();
}

} // namespace arx
