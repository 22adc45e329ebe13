// Gallery page: image buttons, labels, selectors and drop list, lists, level meters, and
// the artwork they are drawn with, each in every state.
#include "GallerySection.h"

#include "controls/Artwork.h"
#include "controls/CComBoxBtn.h"
#include "controls/CDropList.h"
#include "controls/CHeaderCtrlCl.h"
#include "controls/CListCtrlCl.h"
#include "controls/CPeakMeterCtrl.h"
#include "controls/CStaticST.h"
#include "controls/PngButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QPainter>
#include <QWheelEvent>

namespace arx::gallery {
namespace {

const QColor OddStrip(0x52, 0x52, 0x52);
const QColor EvenStrip(0x3a, 0x3a, 0x3a);

// The page: black, with a faint frame around each group.
class Page : public QWidget {
public:
    Page() { resize(1180, 740); }
    void addGroup(const QRect &area, const QString &title)
    {
        groups_.append(area);
        auto *label = new QLabel(title, this);
        label->setStyleSheet(QStringLiteral("color: #8a97ab; font-size: 11px;"));
        label->move(area.left() + 10, area.top() + 6);
    }
    void addNote(int x, int y, const QString &text)
    {
        auto *label = new QLabel(text, this);
        label->setStyleSheet(QStringLiteral("color: #5f6b7e; font-size: 10px;"));
        label->move(x, y);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(0x24, 0x2c, 0x3a));
        painter.setBrush(QColor(0x0b, 0x0e, 0x14));
        for (const QRect &group : groups_)
            painter.drawRoundedRect(QRectF(group).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }

private:
    QList<QRect> groups_;
};

// A ground for transparent labels, painted as a page would paint itself.
class PaintedGround : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QLinearGradient ground(0, 0, width(), 0);
        ground.setColorAt(0, QColor(0x0d, 0x3a, 0x40));
        ground.setColorAt(1, QColor(0x1b, 0x22, 0x30));
        painter.fillRect(rect(), ground);
        painter.fillRect(0, height() - 2, width(), 2, QColor(0x59, 0x57, 0x58));
    }
};

void hover(QWidget *widget)
{
    const QPointF inside(4, 4);
    QEnterEvent enter(inside, inside, widget->mapToGlobal(inside));
    QApplication::sendEvent(widget, &enter);
}

PngButton *imageButton(QWidget *parent, const QRect &place, const QString &caption)
{
    auto *button = new PngButton(parent);
    button->setGeometry(place);
    button->setText(caption);
    return button;
}

void addBannerAndPages(Page *page)
{
    page->addGroup(QRect(0, 0, 1180, 130), QStringLiteral("Banner 171, page buttons 131 / 132"));
    auto *banner = new CStaticST(page);
    banner->setGeometry(10, 26, 1160, 50);
    banner->setTransparent(false);
    banner->setFillColour(Qt::black);
    banner->setStretchedImage(pngImage(171));

    const QString pages[] = { QStringLiteral("MIC"), QStringLiteral("SPEAKER"),
        QStringLiteral("ROUTING"), QStringLiteral("HELP") };
    for (int i = 0; i < 4; ++i) {
        PngButton *tab = imageButton(page, QRect(10 + 290 * i, 88, 290, 30), pages[i]);
        tab->setImages(131, 132);
        tab->setState(i == 0 ? 1 : 0);
    }
}

void addImageButtons(Page *page)
{
    page->addGroup(QRect(0, 140, 580, 150), QStringLiteral("Image buttons"));

    PngButton *searchOff = imageButton(page, QRect(20, 170, 100, 30), QStringLiteral("SEARCH"));
    searchOff->setImages(202, 203);
    PngButton *searchOn = imageButton(page, QRect(130, 170, 100, 30), QStringLiteral("SEARCH"));
    searchOn->setImages(202, 203);
    searchOn->setState(1);
    page->addNote(20, 204, QStringLiteral("toggle 202/203: off, on"));

    const int helpX[] = { 260, 370, 480 };
    const char *helpNotes[] = { "normal", "hover", "pressed" };
    for (int i = 0; i < 3; ++i) {
        PngButton *help = imageButton(page, QRect(helpX[i], 170, 100, 30), QStringLiteral("HELP"));
        help->setMode(ButtonMode::Push);
        help->setImages(201, 200, 200);
        if (i == 1)
            hover(help);
        if (i == 2)
            help->setDown(true);
        page->addNote(helpX[i], 204, QStringLiteral("201/200/200 %1").arg(helpNotes[i]));
    }

    PngButton *phaseOff = imageButton(page, QRect(20, 236, 80, 24), QStringLiteral("PHASE"));
    phaseOff->setImages(144, 145);
    PngButton *phaseOn = imageButton(page, QRect(110, 236, 80, 24), QStringLiteral("PHASE"));
    phaseOn->setImages(144, 145);
    phaseOn->setState(1);
    const QString pushes[]
        = { QStringLiteral("RESET"), QStringLiteral("SAVE"), QStringLiteral("RECALL") };
    const QRect pushPlaces[]
        = { QRect(220, 236, 75, 24), QRect(305, 236, 100, 24), QRect(415, 236, 100, 24) };
    for (int i = 0; i < 3; ++i) {
        PngButton *push = imageButton(page, pushPlaces[i], pushes[i]);
        push->setMode(ButtonMode::Push);
        push->setImages(144, 145);
        push->setDown(i == 2);
    }
    page->addNote(20, 264,
        QStringLiteral("144/145: toggle off, on; push 75 and 100 wide, "
                       "RECALL pressed"));
}

CStaticST *label(QWidget *parent, const QRect &place, const QString &text, int points)
{
    auto *shown = new CStaticST(parent);
    shown->setGeometry(place);
    shown->setText(text);
    shown->setTextSize(points);
    return shown;
}

CStaticST *stripLabel(
    QWidget *parent, const QRect &place, const QString &text, int alignment, const QColor &fill)
{
    CStaticST *shown = label(parent, place, text, 10);
    shown->setTransparent(false);
    shown->setFillColour(fill);
    shown->setAlignment(alignment);
    return shown;
}

void addLabels(Page *page)
{
    page->addGroup(QRect(590, 140, 590, 150), QStringLiteral("Labels"));
    auto *ground = new PaintedGround(page);
    ground->setGeometry(600, 166, 570, 40);
    label(ground, QRect(6, 5, 150, 30), QStringLiteral("CH A EQ"), 16);
    label(ground, QRect(160, 5, 150, 30), QStringLiteral("HIGH SPERKER"), 12);
    label(ground, QRect(320, 5, 240, 30), QStringLiteral("关于 ARX1.2 版"), 12);

    auto *strip = new QWidget(page);
    strip->setGeometry(600, 212, 570, 26);
    strip->setAutoFillBackground(true);
    QPalette stripColour = strip->palette();
    stripColour.setColor(QPalette::Window, OddStrip);
    strip->setPalette(stripColour);
    stripLabel(
        strip, QRect(4, 3, 150, 20), QStringLiteral("Name:MIC-1"), CStaticST::Near, OddStrip);
    stripLabel(strip, QRect(160, 3, 60, 20), QStringLiteral("GAIN:"), CStaticST::Far, OddStrip);
    stripLabel(strip, QRect(226, 3, 60, 20), QStringLiteral("MODE:"), CStaticST::Far, OddStrip);
    CStaticST *family = stripLabel(strip, QRect(300, 1, 24, 24), QString(), 0, OddStrip);
    family->setStretchedImage(pngImage(128));

    const struct {
        double value, divisor;
        int offMode;
        const char *prefix, *suffix;
    } values[] = { { 15, 10, 0, "Q:", "" }, { 20, 10, 0, "Q:", "" }, { 10, 1, 2, "Ratio ", ":1" },
        { -15, 10, 0, "G:", " dB" } };
    for (int i = 0; i < 4; ++i) {
        CStaticST *value = stripLabel(
            page, QRect(600 + 142 * i, 246, 134, 22), QString(), CStaticST::Centre, EvenStrip);
        value->setTextMode(false);
        value->setPrefix(QString::fromUtf8(values[i].prefix));
        value->setSuffix(QString::fromUtf8(values[i].suffix));
        value->setDivisor(values[i].divisor);
        value->setOffMode(values[i].offMode);
        value->setValue(values[i].value);
    }
    page->addNote(600, 270,
        QStringLiteral("transparent over a painted ground; filled, near and "
                       "far; value mode 15/10, 20/10, OFF, -15/10"));
}

CComBoxBtn *selector(QWidget *parent, const QPoint &at, int listId)
{
    auto *button = new CComBoxBtn(parent);
    button->move(at);
    button->setBitmaps(138, 139);
    button->attachList(listId);
    for (const char *type :
        { "Butterworth 1", "Butterworth 2", "Bessel 2", "Linkwitz 2", "Variable" })
        button->dropList()->addEntry(QString::fromUtf8(type));
    button->select(0);
    return button;
}

void addSelectors(Page *page)
{
    page->addGroup(QRect(0, 300, 330, 200), QStringLiteral("Selectors 138 / 139 and drop list"));
    selector(page, QPoint(20, 330), 1087);
    CComBoxBtn *active = selector(page, QPoint(20, 362), 1088);
    active->select(2);
    const QPointF at(10, 10);
    QWheelEvent notch(at, active->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(active, &notch); // an operator's choice: the active look
    page->addNote(20, 386, QStringLiteral("normal, active"));

    // An open list as it drops under its button, the pointer on "Bessel 2".
    CComBoxBtn *open = selector(page, QPoint(130, 330), 1089);
    auto *list = new CDropList(page);
    list->setEntryFont(open->dropList()->entryFont());
    for (int i = 0; i < open->dropList()->entryCount(); ++i)
        list->addEntry(open->dropList()->entryText(i));
    list->setGeometry(QRect(QPoint(130, 330 + open->height() - 1), QSize(open->width(), 126)));
    list->setCurrentSelection(2);

    CComBoxBtn *wide = selector(page, QPoint(228, 330), 1090);
    wide->select(4);
    page->addNote(228, 354, QStringLiteral("last entry"));
}

CListCtrlCl *deviceList(QWidget *parent, const QRect &place)
{
    auto *list = new CListCtrlCl(parent);
    list->setGeometry(place);
    list->setShowGrid(true);
    list->setBackgroundColour(Qt::white);
    list->setRowHeight(30);
    list->header()->setHeightFactor(1.3);
    list->setFontSize(15, 0);
    list->header()->setFontSize(12, 0);
    return list;
}

void addLists(Page *page)
{
    page->addGroup(QRect(340, 300, 840, 200), QStringLiteral("Lists and gradient headers"));

    CListCtrlCl *units = deviceList(page, QRect(350, 326, 302, 148));
    units->header()->setBaseColour({ 229, 229, 229 });
    units->setAlignmentString(QStringLiteral("1111"));
    const struct {
        const char *caption;
        int width;
    } unitColumns[] = { { "S/N", 40 }, { "Name", 100 }, { "IP", 100 }, { "Type", 60 } };
    for (int c = 0; c < 4; ++c)
        units->insertColumn(c, QString::fromUtf8(unitColumns[c].caption), unitColumns[c].width);
    const char *rows[][4] = { { "1", "MIC-1", "192.168.0.11", "ARN1" },
        { "2", "会议室", "192.168.0.12", "PXL2" }, { "3", "MIC-3", "192.168.0.13", "VEL-K" } };
    for (int r = 0; r < 3; ++r) {
        units->insertItem(r, QString::fromUtf8(rows[r][0]));
        for (int c = 1; c < 4; ++c)
            units->setItemText(r, c, QString::fromUtf8(rows[r][c]));
    }
    units->selectRow(1);

    CListCtrlCl *processors = deviceList(page, QRect(660, 326, 510, 148));
    processors->header()->setHeightFactor(1.6);
    processors->setAlignmentString(QStringLiteral("0112"));
    const struct {
        const char *caption;
        int width;
    } rdaColumns[] = { { "RDA IP", 150 }, { "Name", 150 }, { "Port", 100 }, { "Status", 100 } };
    for (int c = 0; c < 4; ++c)
        processors->insertColumn(c, QString::fromUtf8(rdaColumns[c].caption), rdaColumns[c].width);
    processors->insertItem(0, QStringLiteral("192.168.0.106"));
    processors->setItemText(0, 1, QStringLiteral("RDA-2"));
    processors->setItemText(0, 2, QStringLiteral("39060"));
    processors->setItemText(0, 3, QStringLiteral("Connected"));
    page->addNote(660, 478,
        QStringLiteral("left: header (229, 229, 229); right: default "
                       "(171, 199, 235), alignments 0 1 1 2"));
}

CPeakMeterCtrl *stripMeter(QWidget *parent, const QPoint &at, int value, bool fresh)
{
    auto *meter = new CPeakMeterCtrl(parent);
    meter->setGeometry(QRect(at, QSize(192, 10)));
    meter->setHorizontal(true);
    meter->setLedCount(32);
    meter->setGrid(true);
    meter->setBackgroundColour(QColor(0x2a, 0x2a, 0x2a));
    meter->setBandCount(1);
    if (!fresh)
        meter->setBandValue(0, value);
    return meter;
}

void addMeters(Page *page)
{
    page->addGroup(QRect(0, 510, 1180, 230), QStringLiteral("Level meters"));

    auto *bands = new CPeakMeterCtrl(page);
    bands->setGeometry(20, 536, 240, 180);
    bands->setBackgroundColour(QColor(0x1b, 0x22, 0x30));
    bands->setGrid(true);
    bands->setBandCount(8);
    const int values[] = { 4, 10, 18, 26, 29, 31, 32, 14 };
    for (int b = 0; b < 8; ++b)
        bands->setBandValue(b, values[b]);
    page->addNote(20, 718, QStringLiteral("8 bands x 8 LEDs, grid, peak lines"));

    auto *column = new CPeakMeterCtrl(page);
    column->setGeometry(290, 536, 30, 180);
    column->setLedCount(32);
    column->setBackgroundColour(QColor(0x1b, 0x22, 0x30));
    column->setBandCount(1);
    column->setBandValue(0, 31);
    auto *plain = new CPeakMeterCtrl(page);
    plain->setGeometry(330, 536, 30, 180);
    plain->setLedCount(32);
    plain->setBandCount(1);
    plain->setBandValue(0, 5);
    page->addNote(290, 718, QStringLiteral("32 LEDs: 31, 5"));

    const struct {
        int value;
        bool fresh;
        QColor strip;
        const char *note;
    } strips[] = { { 0, false, OddStrip, "0" }, { 5, false, EvenStrip, "5" },
        { 20, false, OddStrip, "20" }, { 28, false, EvenStrip, "28" },
        { 31, false, OddStrip, "31" }, { 0, true, EvenStrip, "right after setBandCount" } };
    for (int i = 0; i < 6; ++i) {
        auto *strip = new QWidget(page);
        strip->setGeometry(400, 536 + 30 * i, 480, 26);
        strip->setAutoFillBackground(true);
        QPalette colour = strip->palette();
        colour.setColor(QPalette::Window, strips[i].strip);
        strip->setPalette(colour);
        stripMeter(strip, QPoint(10, 8), strips[i].value, strips[i].fresh);
        CStaticST *note = stripLabel(strip, QRect(220, 3, 250, 20),
            QString::fromUtf8(strips[i].note), CStaticST::Near, strips[i].strip);
        note->setTextSize(9);
    }
    page->addNote(400, 718, QStringLiteral("strip meters, 192 x 10, 32 LEDs, grid"));

    auto *icon = new CStaticST(page);
    icon->setGeometry(960, 560, 128, 128);
    icon->setTransparent(false);
    icon->setFillColour(QColor(0x0b, 0x0e, 0x14));
    icon->setStretchedImage(pngImage(128));
    page->addNote(960, 700, QStringLiteral("application icon 128"));
}

QWidget *makePage()
{
    auto *page = new Page;
    addBannerAndPages(page);
    addImageButtons(page);
    addLabels(page);
    addSelectors(page);
    addLists(page);
    addMeters(page);
    return page;
}

const bool registered = registerSection({ 10, "Buttons, labels, lists, meters", makePage });

} // namespace
} // namespace arx::gallery
