#include "speaker/CSpeakerDlg.h"

#include "controls/CBitmapSlider.h"
#include "controls/CComBoxBtn.h"
#include "controls/CDropList.h"
#include "controls/CSpinBtn.h"
#include "controls/CStaticST.h"
#include "controls/ControlId.h"
#include "controls/GbkText.h"
#include "controls/PngButton.h"
#include "protocol/Discovery.h"
#include "room/Room.h"
#include "speaker/SpeakerResponseView.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

namespace arx {

namespace {

// Artwork numbers.
constexpr int ButtonImage = 144;
constexpr int ButtonPressedImage = 145;
constexpr int SelectorBitmap = 138;
constexpr int SelectorActiveBitmap = 139;
constexpr int SliderLeftImage = 170;
constexpr int SliderRightImage = 168;
constexpr int SliderThumbImage = 147;

const QColor LineGrey = QColor::fromRgba(0xFF595758);
const QColor TitleColour(255, 255, 255);
const QColor SpeakerTitleColour(0, 210, 235);
const QColor HeadingColour(190, 200, 212);
const QColor ConnectedColour(90, 220, 130);
const QColor OfflineColour(235, 175, 60);

constexpr int LineWidth = 2;
constexpr int DividerX = 470;
constexpr int HorizontalLines[] = { 0, 50, 95, 360, 395, 455, 498, 540 };
constexpr int DividerTopEnd = 455;
constexpr int DividerBottomStart = 500;

// How a label looks: a channel title, a speaker title, a column heading (centred over its
// knobs) or a caption.
enum class Look { Title, Speaker, Heading, Caption };

struct Text {
    int id;
    QRect place;
    const char *text;
    int points;
    Look look = Look::Caption;
};

// clang-format off
constexpr Text Titles[] = {
    {.id = 1007, .place = {10, 10, 150, 30}, .text = "CH A EQ", .points = 16, .look = Look::Title},
    {.id = 1008, .place = {300, 10, 150, 30}, .text = "HIGH SPERKER", .points = 12, .look = Look::Speaker},
    {.id = 1009, .place = {480, 10, 150, 30}, .text = "CH B EQ", .points = 16, .look = Look::Title},
    {.id = 1010, .place = {750, 10, 150, 30}, .text = "LOW SPERKER", .points = 12, .look = Look::Speaker},
    {.id = 1032, .place = {120, 60, 100, 24}, .text = "GAIN", .points = 16, .look = Look::Heading},
    {.id = 1033, .place = {240, 60, 100, 24}, .text = "FREQUENCY", .points = 10, .look = Look::Heading},
    {.id = 1034, .place = {360, 60, 100, 24}, .text = "Q Value", .points = 16, .look = Look::Heading},
    {.id = 1035, .place = {570, 60, 100, 24}, .text = "GAIN", .points = 16, .look = Look::Heading},
    {.id = 1036, .place = {680, 60, 100, 24}, .text = "FREQUENCY", .points = 10, .look = Look::Heading},
    {.id = 1037, .place = {790, 60, 100, 24}, .text = "Q Value", .points = 16, .look = Look::Heading},
    {.id = 1011, .place = {10, 370, 450, 24}, .text = "LIMIT", .points = 16},
    {.id = 1012, .place = {480, 370, 450, 24}, .text = "LIMIT", .points = 16},
    {.id = 1091, .place = {10, 400, 80, 24}, .text = "Threshold", .points = 10},
    {.id = 1093, .place = {190, 400, 80, 24}, .text = "Ratio", .points = 10},
    {.id = 1095, .place = {10, 430, 80, 24}, .text = "Attack", .points = 10},
    {.id = 1097, .place = {190, 430, 80, 24}, .text = "Release", .points = 10},
    {.id = 1099, .place = {480, 400, 80, 24}, .text = "Threshold", .points = 10},
    {.id = 1101, .place = {660, 400, 80, 24}, .text = "Ratio", .points = 10},
    {.id = 1103, .place = {480, 430, 80, 24}, .text = "Attack", .points = 10},
    {.id = 1105, .place = {660, 430, 80, 24}, .text = "Release", .points = 10},
    {.id = 1112, .place = {10, 470, 100, 24}, .text = "LEVEL:", .points = 12},
    {.id = 1113, .place = {120, 460, 60, 16}, .text = "CHA", .points = 8},
    {.id = 1115, .place = {400, 460, 60, 16}, .text = "CHB", .points = 8},
    {.id = 1117, .place = {670, 460, 60, 16}, .text = "MAIN", .points = 8},
    {.id = 1119, .place = {10, 510, 80, 20}, .text = "NAME:", .points = 10},
    {.id = 1120, .place = {500, 510, 80, 20}, .text = "IP:", .points = 10},
};
// clang-format on

// The grid: nine rows from y 100, 25 apart; the label, gain or type, frequency and Q columns.
constexpr int GridTop = 100;
constexpr int GridRowStep = 25;
constexpr int HighPassRow = 7;
constexpr int LowPassRow = 8;
constexpr int RowLabelIds[SpeakerChannelCount][9] = {
    { 1013, 1015, 1016, 1017, 1018, 1019, 1020, 1021, 1022 },
    { 1023, 1024, 1025, 1026, 1027, 1028, 1029, 1030, 1031 },
};
constexpr int LabelColumn[SpeakerChannelCount] = { 10, 480 };
constexpr int GainColumn[SpeakerChannelCount] = { 120, 580 };
constexpr int FrequencyColumn[SpeakerChannelCount] = { 240, 680 };
constexpr int QColumn[SpeakerChannelCount] = { 360, 790 };

int gridY(int row)
{
    return GridTop + GridRowStep * row;
}

// Where each knob of the table stands (its top-left corner; the knob takes its bitmap's size).
QPoint knobPlace(const SpeakerKnob &knob)
{
    const int c = knob.channel;
    const int bandRow = knob.band - 1;
    switch (knob.row->parameter) {
    case SpeakerParameter::BandGain:
        return { GainColumn[c], gridY(bandRow) };
    case SpeakerParameter::BandFrequency:
        return { FrequencyColumn[c], gridY(bandRow) };
    case SpeakerParameter::BandQ:
        return { QColumn[c], gridY(bandRow) };
    case SpeakerParameter::HighPassFrequency:
        return { FrequencyColumn[c], gridY(HighPassRow) };
    case SpeakerParameter::HighPassQ:
        return { QColumn[c], gridY(HighPassRow) };
    case SpeakerParameter::LowPassFrequency:
        return { FrequencyColumn[c], gridY(LowPassRow) };
    case SpeakerParameter::LowPassQ:
        return { QColumn[c], gridY(LowPassRow) };
    case SpeakerParameter::Threshold:
        return { c == 0 ? 90 : 560, 400 };
    case SpeakerParameter::Ratio:
        return { c == 0 ? 270 : 740, 400 };
    case SpeakerParameter::Attack:
        return { c == 0 ? 90 : 560, 430 };
    case SpeakerParameter::Release:
        return { c == 0 ? 270 : 740, 430 };
    }
    return {};
}

struct ButtonPlace {
    int id;
    QRect place;
    const char *caption;
};

// clang-format off
constexpr ButtonPlace Buttons[] = {
    {.id = 1123, .place = {240, 325, 80, 24}, .caption = "PHASE"},
    {.id = 1124, .place = {360, 325, 80, 24}, .caption = "RESET"},
    {.id = 1125, .place = {690, 325, 80, 24}, .caption = "PHASE"},
    {.id = 1126, .place = {790, 325, 80, 24}, .caption = "RESET"},
    {.id = 1107, .place = {380, 430, 75, 24}, .caption = "RESET"},
    {.id = 1108, .place = {840, 430, 75, 24}, .caption = "RESET"},
    {.id = SetNameButtonId, .place = {250, 510, 60, 20}, .caption = "OK"},
    {.id = InertAddressButtonId, .place = {730, 510, 60, 20}, .caption = "OK"},
    {.id = DeviceResetButtonId, .place = {50, 550, 100, 24}, .caption = "RESET"},
    {.id = SaveButtonId, .place = {170, 550, 100, 24}, .caption = "SAVE"},
    {.id = RecallButtonId, .place = {290, 550, 100, 24}, .caption = "RECALL"},
    // Right of the divider, which runs through the rest of RECALL's row.
    {.id = SendAllButtonId, .place = {490, 550, 100, 24}, .caption = "SEND ALL"},
    {.id = ResponseButtonId, .place = {610, 550, 100, 24}, .caption = "RESPONSE"},
};
// clang-format on

constexpr QRect SliderPlaces[]
    = { { 120, 478, 150, 24 }, { 400, 478, 150, 24 }, { 670, 478, 150, 24 } };
constexpr QRect LevelLabelPlaces[]
    = { { 300, 460, 60, 16 }, { 550, 460, 60, 16 }, { 800, 460, 60, 16 } };
constexpr QRect NameEditPlace { 90, 510, 120, 20 };
constexpr QRect AddressEditPlace { 580, 510, 120, 20 };
// Left of the divider, in two lines when it needs them.
constexpr QRect ConnectionLinePlace { 10, 582, 452, 44 };

constexpr const char *EditStyle
    = "QLineEdit { background: #141a22; color: #ffffff; border: 1px solid #4a5566;"
      " padding: 0 4px; selection-background-color: #00a0b4; }"
      "QLineEdit:focus { border-color: #00c8dc; }"
      "QLineEdit:read-only { color: #b4bcc8; }";

CStaticST *makeLabel(QWidget *parent, int id, const QRect &place, const QString &text, int points,
    const QColor &colour, int alignment = CStaticST::Near)
{
    auto *label = new CStaticST(parent);
    setControlId(label, id);
    label->setGeometry(place);
    label->setText(text);
    label->setTextSize(points);
    label->setTextColour(colour);
    label->setAlignment(alignment);
    return label;
}

QColor colourOf(Look look)
{
    switch (look) {
    case Look::Title:
        return TitleColour;
    case Look::Speaker:
        return SpeakerTitleColour;
    default:
        return HeadingColour;
    }
}

} // namespace

CSpeakerDlg::CSpeakerDlg(Room &room, Prompts &prompts, QWidget *parent)
    : QWidget(parent)
    , room_(room)
    , store_(room.store())
    , prompts_(prompts)
{
    setObjectName(QStringLiteral("speakerPage"));
    createTitles();
    createGrid(room.clock());
    createButtons();
    createLevels();
    createDeviceLine();
    createResponseWindow();
    connectControls();
    // The page shows the store from the start: a page built on the knobs' minimums would
    // send a band's first click from code 0 instead of from its flat gain.
    refreshPage();
    showConnection();
    room.observers().add(*this);
}

CSpeakerDlg::~CSpeakerDlg()
{
    room_.observers().remove(*this);
}

SpeakerEditor &CSpeakerDlg::editor()
{
    return room_.speaker();
}

template <class Control> Control *CSpeakerDlg::control(int id) const
{
    return findControl<Control>(this, id);
}

void CSpeakerDlg::createTitles()
{
    for (const Text &title : Titles) {
        makeLabel(this, title.id, title.place, QString::fromLatin1(title.text), title.points,
            colourOf(title.look),
            title.look == Look::Heading ? CStaticST::Centre : CStaticST::Near);
    }
}

void CSpeakerDlg::createGrid(const Clock &clock)
{
    for (int channel = 0; channel < SpeakerChannelCount; ++channel) {
        for (int row = 0; row < 9; ++row) {
            const QString text = row == HighPassRow ? QStringLiteral("HighPass")
                : row == LowPassRow                 ? QStringLiteral("LowPass")
                                                    : QStringLiteral("Band %1").arg(row + 1);
            makeLabel(this, RowLabelIds[channel][row],
                QRect(LabelColumn[channel], gridY(row), 100, 20), text, 12, TitleColour);
        }
    }

    for (const SpeakerKnob &knob : speakerKnobs()) {
        auto *spin = new CSpinBtn(clock, this);
        setControlId(spin, knob.id);
        spin->setRange(knob.row->minimum, knob.row->maximum);
        spin->setValueKind(knob.row->kind);
        spin->setValue(knob.row->minimum);
        spin->move(knobPlace(knob));
        knobs_[knob.id] = spin;
    }

    for (const CrossoverSelector &selector : CrossoverSelectors) {
        auto *button = new CComBoxBtn(this);
        setControlId(button, selector.selectorId);
        const int row = selector.pass == CrossoverPass::HighPass ? HighPassRow : LowPassRow;
        button->setGeometry(GainColumn[selector.channel], gridY(row), 100, 24);
        button->setBitmaps(SelectorBitmap, SelectorActiveBitmap);
        button->attachList(selector.listId);
        for (const char *name : filterTypeNames)
            button->dropList()->addEntry(QString::fromLatin1(name));
        button->select(0);
        selectors_[selector.listId] = button;
    }
}

void CSpeakerDlg::createButtons()
{
    for (const ButtonPlace &place : Buttons) {
        auto *button = new PngButton(this);
        setControlId(button, place.id);
        button->setText(QString::fromLatin1(place.caption));
        button->setGeometry(place.place);
        button->setImages(ButtonImage, ButtonPressedImage);
        button->setMode(ButtonMode::Push);
    }
    for (const ChannelButtons &buttons : ChannelButtonIds) {
        auto *phase = control<PngButton>(buttons.phaseId);
        phase->setMode(ButtonMode::Toggle);
        phaseButtons_[buttons.channel] = phase;
    }
    responseButton_ = control<PngButton>(ResponseButtonId);
    responseButton_->setMode(ButtonMode::Toggle);
    control<PngButton>(InertAddressButtonId)->hide();
}

void CSpeakerDlg::createLevels()
{
    for (std::size_t i = 0; i < std::size(LevelSliders); ++i) {
        const LevelSlider &level = LevelSliders[i];
        auto *slider = new CBitmapSlider(this);
        setControlId(slider, level.sliderId);
        slider->setGeometry(SliderPlaces[i]);
        slider->setChannelImages(SliderLeftImage, SliderRightImage);
        slider->setThumbImages(SliderThumbImage, SliderThumbImage);
        slider->setRange(0, LevelCodeMax);
        slider->setPageStep(20);
        slider->setMargins(0, 0, 0, 0);
        slider->setPosition(0);
        sliders_[level.sliderId] = slider;
        levelLabels_[level.sliderId] = makeLabel(
            this, level.labelId, LevelLabelPlaces[i], QStringLiteral("0dB"), 8, SpeakerTitleColour);
    }
}

void CSpeakerDlg::createDeviceLine()
{
    nameEdit_ = new QLineEdit(this);
    setControlId(nameEdit_, NameEditId);
    nameEdit_->setGeometry(NameEditPlace);
    nameEdit_->setStyleSheet(QString::fromLatin1(EditStyle));
    nameEdit_->setPlaceholderText(QStringLiteral("processor name"));

    addressEdit_ = new QLineEdit(this);
    setControlId(addressEdit_, AddressEditId);
    addressEdit_->setGeometry(AddressEditPlace);
    addressEdit_->setStyleSheet(QString::fromLatin1(EditStyle));
    // Its OK does nothing, so typing here could only mislead: the processor list chooses.
    addressEdit_->setReadOnly(true);

    connectionLine_
        = makeLabel(this, ConnectionLineId, ConnectionLinePlace, QString(), 10, OfflineColour);
}

void CSpeakerDlg::createResponseWindow()
{
    responseWindow_ = new QWidget(this, Qt::Tool);
    responseWindow_->setWindowTitle(QStringLiteral("Speaker response"));
    responseWindow_->resize(720, 360);
    responseView_ = new SpeakerResponseView(store_.speaker, responseWindow_);
    auto *layout = new QVBoxLayout(responseWindow_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(responseView_);
    responseWindow_->installEventFilter(this);
}

void CSpeakerDlg::connectControls()
{
    for (const auto &[id, knob] : knobs_) {
        connect(knob, &CSpinBtn::spinChanged, this,
            [this](int knobId, int value) { editor().knobChanged(knobId, value); });
    }
    for (const auto &[id, selector] : selectors_) {
        connect(selector, &CComBoxBtn::dropListSelect, this,
            [this](int listId, int index) { editor().crossoverTypeSelected(listId, index); });
    }
    for (const auto &[id, slider] : sliders_) {
        const auto level
            = [this](int sliderId, int position) { editor().levelMoved(sliderId, position); };
        connect(slider, &CBitmapSlider::sliderMoving, this, level);
        connect(slider, &CBitmapSlider::sliderMoved, this, level);
    }
    for (const ChannelButtons &buttons : ChannelButtonIds) {
        connect(control<PngButton>(buttons.phaseId), &PngButton::commanded, this,
            [this](int id) { editor().togglePhase(id); });
        connect(control<PngButton>(buttons.resetId), &PngButton::commanded, this,
            [this](int id) { editor().resetChannel(id); });
        connect(control<PngButton>(buttons.limiterResetId), &PngButton::commanded, this,
            [this](int id) { editor().resetLimiter(id); });
    }
    connect(
        control<PngButton>(SetNameButtonId), &PngButton::commanded, this, &CSpeakerDlg::setName);
    connect(nameEdit_, &QLineEdit::returnPressed, this, &CSpeakerDlg::setName);
    PresetController &presets = room_.presets();
    connect(control<PngButton>(DeviceResetButtonId), &PngButton::commanded, this,
        [&presets] { presets.deviceReset(); });
    connect(control<PngButton>(SaveButtonId), &PngButton::commanded, this,
        [&presets] { presets.save(); });
    connect(control<PngButton>(RecallButtonId), &PngButton::commanded, this,
        [&presets] { presets.recall(); });
    connect(control<PngButton>(SendAllButtonId), &PngButton::commanded, this,
        [this] { editor().sendAll(); });
    connect(responseButton_, &PngButton::commanded, this,
        [this] { setResponseShown(!responseWindow_->isVisible()); });
}

void CSpeakerDlg::setResponseShown(bool shown)
{
    if (shown) {
        if (!responseWindow_->isVisible())
            responseWindow_->move(mapToGlobal(QPoint(240, 240)));
        responseView_->refresh();
        responseWindow_->show();
        responseWindow_->raise();
    } else {
        responseWindow_->hide();
    }
    responseButton_->setState(shown ? 1 : 0);
}

void CSpeakerDlg::settingChanged()
{
    if (responseWindow_->isVisible())
        responseView_->refresh();
}

void CSpeakerDlg::setName()
{
    editor().setProcessorName(toGbk(nameEdit_->text()));
}

void CSpeakerDlg::refreshPage()
{
    SpeakerStore &speaker = store_.speaker;
    for (const SpeakerKnob &knob : speakerKnobs())
        knobs_.at(knob.id)->setValue(knobField(speaker, knob));
    for (const LevelSlider &level : LevelSliders)
        showLevel(level.target);
    for (int channel = 0; channel < SpeakerChannelCount; ++channel)
        showPhase(channel);
    for (const CrossoverSelector &selector : CrossoverSelectors)
        showCrossover(selector);
    nameEdit_->setText(fromGbk(textOf(speaker.processorName)));
    addressEdit_->setText(QString::fromStdString(store_.rdaAddress));
    settingChanged();
}

void CSpeakerDlg::speakerChanged(const SpeakerChange &change)
{
    using Kind = SpeakerChange::Kind;
    switch (change.kind) {
    case Kind::Knob:
        if (const auto knob = findSpeakerKnob(change.id))
            knobs_.at(knob->id)->setValue(knobField(store_.speaker, *knob));
        break;
    case Kind::Crossover:
        for (const CrossoverSelector &selector : CrossoverSelectors) {
            if (selector.selectorId == change.id)
                showCrossover(selector);
        }
        break;
    case Kind::Level:
        for (const LevelSlider &level : LevelSliders) {
            if (level.sliderId == change.id)
                showLevel(level.target);
        }
        break;
    case Kind::Phase:
        showPhase(change.channel);
        break;
    case Kind::Name:
        nameEdit_->setText(fromGbk(textOf(store_.speaker.processorName)));
        showConnection();
        break;
    case Kind::Channel:
    case Kind::Everything:
        refreshPage();
        return;
    }
    settingChanged();
}

void CSpeakerDlg::showCrossover(const CrossoverSelector &selector)
{
    SpeakerChannel &stored = store_.speaker.channels[selector.channel];
    selectors_.at(selector.listId)->select(crossoverType(stored, selector.pass));
    const SpeakerSender sender = selector.pass == CrossoverPass::HighPass ? SpeakerSender::HighPass
                                                                          : SpeakerSender::LowPass;
    for (const SpeakerKnob &knob : speakerKnobs()) {
        if (knob.channel == selector.channel && knob.row->sender == sender)
            knobs_.at(knob.id)->setValue(knobField(store_.speaker, knob));
    }
    knobs_.at(selector.qKnobId)->setVisible(crossoverQShown(stored, selector.pass));
}

void CSpeakerDlg::showLevel(LevelTarget target)
{
    for (const LevelSlider &level : LevelSliders) {
        if (level.target != target)
            continue;
        const int code = levelCode(store_.speaker, target);
        CStaticST *label = levelLabels_.at(level.sliderId);
        label->setText(QString::fromStdString(levelText(code)));
        label->update();
        sliders_.at(level.sliderId)->setPosition(levelSliderPosition(code));
    }
}

void CSpeakerDlg::showPhase(int channel)
{
    phaseButtons_.at(channel)->setState(store_.speaker.channels[channel].phase);
}

void CSpeakerDlg::showConnection()
{
    const SpeakerStore &speaker = store_.speaker;
    const QString address = QString::fromStdString(store_.rdaAddress);
    QString text;
    if (speaker.rdaConnected) {
        const ProcessorListModel &list = room_.discovery().processorList();
        const int row = list.findRow(ProcessorAddressColumn, store_.rdaAddress);
        const QString name = row < 0
            ? QString()
            : fromGbk(list.cell(static_cast<std::size_t>(row), ProcessorNameColumn));
        text = name.isEmpty()
            ? QStringLiteral("Connected to %1: every change is sent as you make it.").arg(address)
            : QStringLiteral("Connected to %1 (%2): every change is sent as you make it.")
                  .arg(name, address);
    } else if (speaker.rdaConnecting) {
        text = QStringLiteral("Connecting to %1 ... until it answers, changes are kept on this "
                              "computer and not sent.")
                   .arg(address);
    } else {
        text = QStringLiteral("Not connected: changes are kept on this computer and not sent. "
                              "Double-click a processor in the list to connect.");
    }
    connectionLine_->setText(text);
    connectionLine_->setTextColour(speaker.rdaConnected ? ConnectedColour : OfflineColour);
    connectionLine_->update();
    addressEdit_->setText(address);
}

bool CSpeakerDlg::eventFilter(QObject *watched, QEvent *event)
{
    // Closed from its title bar: RESPONSE goes dark with it.
    if (watched == responseWindow_ && event->type() == QEvent::Hide)
        responseButton_->setState(0);
    return QWidget::eventFilter(watched, event);
}

void CSpeakerDlg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba(0xFF000000));
    const int w = width();
    const int h = height();
    for (int y : HorizontalLines)
        painter.fillRect(0, y, w, LineWidth, LineGrey);
    painter.fillRect(0, h - 5, w, LineWidth, LineGrey);
    painter.fillRect(0, 0, LineWidth, h, LineGrey);
    painter.fillRect(w - 2, 0, LineWidth, h, LineGrey);
    painter.fillRect(DividerX, 0, LineWidth, DividerTopEnd, LineGrey);
    painter.fillRect(DividerX, DividerBottomStart, LineWidth, h - DividerBottomStart, LineGrey);
}

} // namespace arx
