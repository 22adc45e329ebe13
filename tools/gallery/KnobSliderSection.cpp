// Gallery page: spin knobs in every format and zone state, level sliders along their travel.
#include "GallerySection.h"

#include "controls/CBitmapSlider.h"
#include "controls/CSpinBtn.h"
#include "controls/CSpindataDlg.h"
#include "controls/ControlId.h"
#include "seams/Clock.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>

namespace arx::gallery {

namespace {

const SystemClock &galleryClock()
{
    static const SystemClock clock;
    return clock;
}

QLabel *caption(QWidget *parent, const QString &text, int x, int y, int width = 110)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(x, y, width, 20);
    label->setStyleSheet(QStringLiteral("color: #a8adb5; font-size: 11px;"));
    return label;
}

QLabel *heading(QWidget *parent, const QString &text, int y)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(20, y, 600, 24);
    label->setStyleSheet(QStringLiteral("color: #e6e8eb; font-size: 15px; font-weight: bold;"));
    return label;
}

// Puts the pointer over a point of the knob, as if the operator hovered there.
void hover(QWidget *knob, QPoint point)
{
    QMouseEvent move(QEvent::MouseMove, point, knob->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
        Qt::NoModifier);
    QCoreApplication::sendEvent(knob, &move);
}

CSpinBtn *knob(QWidget *parent, int x, int y, ValueKind kind, int minimum, int maximum, int value)
{
    auto *spin = new CSpinBtn(galleryClock(), parent);
    spin->move(x, y);
    spin->setRange(minimum, maximum);
    spin->setValueKind(kind);
    spin->setValue(value);
    return spin;
}

// The numeric entry, laid into the page instead of floating over it.
void entry(QWidget *parent, const QString &name, int x, int y, float value, const QString &typed)
{
    caption(parent, name, x, y, 280);
    auto *dialog = new CSpindataDlg(parent);
    dialog->setWindowFlags(Qt::Widget);
    // A dialog is a window of its own and never takes the page's black palette.
    QPalette standard = QApplication::palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        standard.setBrush(QPalette::Active, r, standard.brush(QPalette::Active, r));
        standard.setBrush(QPalette::Inactive, r, standard.brush(QPalette::Inactive, r));
        standard.setBrush(QPalette::Disabled, r, standard.brush(QPalette::Disabled, r));
    }
    dialog->setPalette(standard);
    dialog->setAutoFillBackground(true);
    dialog->move(x, y + 24);
    dialog->setValue(value);
    if (!typed.isNull())
        dialog->edit()->setText(typed);
}

QWidget *makePage()
{
    auto *page = new QWidget;
    page->setFixedSize(1140, 760);
    page->setAutoFillBackground(true);
    QPalette palette = page->palette();
    palette.setColor(QPalette::Window, Qt::black);
    page->setPalette(palette);

    auto *status = new QLabel(QStringLiteral("Turn a knob or drag a slider."), page);
    status->setGeometry(20, 720, 700, 24);
    status->setStyleSheet(QStringLiteral("color: #00e5ff; font-size: 12px;"));

    heading(page, QStringLiteral("Spin knob: one knob per value kind"), 16);
    const struct {
        const char *name;
        ValueKind kind;
        int minimum;
        int maximum;
        int value;
    } kinds[] = {
        { "4 frequency", ValueKind::Frequency, 20, 20000, 1000 },
        { "7 Q", ValueKind::Q, 1, 1000, 20 },
        { "10 gain", ValueKind::Gain, 0, 300, 180 },
        { "12 speaker gain", ValueKind::SpeakerGain, 0, 300, 180 },
        { "11 level", ValueKind::Level, 0, 254, 0 },
        { "42 level dBu", ValueKind::LevelDbu, 0, 140, 0 },
        { "43 delay", ValueKind::Delay, 0, 1000, 480 },
        { "43 long delay", ValueKind::Delay, 0, 1000, 481 },
        { "44 percentage", ValueKind::Percentage, 0, 100, 50 },
        { "45 threshold", ValueKind::Threshold, 0, 60, 12 },
        { "46 attack", ValueKind::Attack, 1, 100, 20 },
        { "48 ratio", ValueKind::Ratio, 10, 2000, 40 },
        { "8 low partner", ValueKind::FrequencyBelowPartner, 20, 20000, 800 },
        { "9 high partner", ValueKind::FrequencyAbovePartner, 20, 20000, 1200 },
        { "13 unknown", static_cast<ValueKind>(13), 0, 10, 5 },
    };
    CSpinBtn *previous = nullptr;
    int index = 0;
    for (const auto &row : kinds) {
        const int x = 20 + (index % 8) * 138;
        const int y = 56 + (index / 8) * 56;
        caption(page, QString::fromUtf8(row.name), x, y);
        auto *spin = knob(page, x, y + 22, row.kind, row.minimum, row.maximum, row.value);
        setControlId(spin, 2000 + index);
        QObject::connect(spin, &CSpinBtn::spinChanged, status, [status](int id, int value) {
            status->setText(QStringLiteral("spinChanged(%1, %2)").arg(id).arg(value));
        });
        if (row.kind == ValueKind::FrequencyAbovePartner && previous) {
            previous->setPartner(spin);
            spin->setPartner(previous);
        }
        previous = spin;
        ++index;
    }

    heading(page, QStringLiteral("Spin knob: states"), 186);
    const struct {
        const char *name;
        QPoint hoverAt;
        bool enabled;
        bool empty;
    } states[] = {
        { "idle", { -1, -1 }, true, false },
        { "pointer on left", { 8, 10 }, true, false },
        { "pointer in middle", { 45, 10 }, true, false },
        { "pointer on right", { 82, 10 }, true, false },
        { "disabled", { -1, -1 }, false, false },
        { "no value yet", { -1, -1 }, true, true },
    };
    index = 0;
    for (const auto &state : states) {
        const int x = 20 + index * 138;
        caption(page, QString::fromUtf8(state.name), x, 218);
        CSpinBtn *spin = state.empty ? new CSpinBtn(galleryClock(), page)
                                     : knob(page, 0, 0, ValueKind::Gain, 0, 300, 150);
        spin->move(x, 240);
        spin->setEnabled(state.enabled);
        if (state.hoverAt.x() >= 0)
            hover(spin, state.hoverAt);
        ++index;
    }

    heading(page, QStringLiteral("Level sliders (range 0..254, shown as 24 - 0.5 x (254 - p) dB)"),
        290);
    const struct {
        const char *name;
        int position;
        bool enabled;
        bool dragging;
    } sliders[] = {
        { "left end", 0, true, false },
        { "middle", 127, true, false },
        { "right end", 254, true, false },
        { "while dragged", 200, true, true },
        { "disabled", 127, false, false },
    };
    index = 0;
    for (const auto &row : sliders) {
        const int x = 20 + (index % 3) * 380;
        const int y = 330 + (index / 3) * 80;
        caption(page, QString::fromUtf8(row.name), x, y, 160);
        auto *value = caption(page, QString(), x + 180, y, 80);
        auto *slider = new CBitmapSlider(page);
        slider->setGeometry(x, y + 26, 150, 24);
        setControlId(slider, 1109 + index);
        slider->setChannelImages(170, 168);
        slider->setThumbImages(147, 147);
        slider->setRange(0, 254);
        slider->setPageStep(20);
        slider->setPosition(row.position);
        slider->setEnabled(row.enabled);
        auto showLevel = [value](int position) {
            value->setText(QStringLiteral("%1 dB").arg(24 - 0.5 * (254 - position), 0, 'f', 1));
        };
        showLevel(row.position);
        auto report = [status, showLevel](const char *signal) {
            return [status, showLevel, signal](int id, int position) {
                showLevel(position);
                status->setText(
                    QStringLiteral("%1(%2, %3)").arg(QLatin1String(signal)).arg(id).arg(position));
            };
        };
        QObject::connect(slider, &CBitmapSlider::sliderMoving, status, report("sliderMoving"));
        QObject::connect(slider, &CBitmapSlider::sliderMoved, status, report("sliderMoved"));
        QObject::connect(
            slider, &CBitmapSlider::sliderDoubleClicked, status, report("sliderDoubleClicked"));
        if (row.dragging) {
            const QPoint onThumb = slider->thumbRect().center();
            QMouseEvent press(QEvent::MouseButtonPress, onThumb, slider->mapToGlobal(onThumb),
                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(slider, &press);
        }
        ++index;
    }
    heading(page, QStringLiteral("Numeric entry (middle of a knob)"), 500);
    entry(page, QStringLiteral("gain knob at G:2.3"), 20, 530, 2.3f, QString());
    entry(page, QStringLiteral("refused: not a number"), 400, 530, 2.3f, QStringLiteral("2.3dB"));
    return page;
}

const bool registered = registerSection({ 20, "Knobs and sliders", makePage });

} // namespace

} // namespace arx::gallery
