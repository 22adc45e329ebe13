#include "mic/CInputDlg.h"

#include "controls/Artwork.h"
#include "controls/CColourButton.h"
#include "controls/CComBoxBtn.h"
#include "controls/CDropList.h"
#include "controls/CPeakMeterCtrl.h"
#include "controls/CStaticST.h"
#include "controls/ControlFonts.h"
#include "controls/ControlId.h"
#include "controls/GbkText.h"
#include "controls/MyComboBox.h"
#include "controls/PngButton.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include <algorithm>

namespace arx {

namespace {

// Artwork numbers.
constexpr int Arn1Image = 300;
constexpr int VelKImage = 301;
constexpr int Pxl2Image = 302;
constexpr int OddPanelImage = 303;
constexpr int EvenPanelImage = 304;
constexpr int CloseImage = 313;
constexpr int ClosePressedImage = 314;
constexpr int CloseHoverImage = 315;
constexpr int OkImage = 316;
constexpr int OkPressedImage = 317;
constexpr int EqualiserImage = 318;
constexpr int EqualiserPressedImage = 319;
constexpr int SelectorBitmap = 320;
constexpr int SelectorActiveBitmap = 321;

const QColor OddStripColour(0x52, 0x52, 0x52);
const QColor EvenStripColour(0x3A, 0x3A, 0x3A);
// The selection's mark: the accent of the artwork.
const QColor SelectedColour(0x2B, 0xB3, 0xA3);
constexpr int SelectedFrameWidth = 3;

constexpr int FamilyImageId = 1142;
constexpr int NameLabelId = 1110;
constexpr int IpLabelId = 1111;
constexpr int MeterId = 1137;
constexpr int CopySelectorId = 1131;
constexpr int OkButtonId = 1127;
constexpr int CloseButtonId = 1138;
constexpr int EqualiserButtonId = 1143;
constexpr int GainSelectorId = 1128;
constexpr int ModeSelectorId = 1130;
constexpr int GainListId = 1129;
constexpr int ModeListId = 1132;
constexpr int CopyListId = 1133;

constexpr int LabelTextPoints = 10;
constexpr int SelectorTextCell = 13;
// Ours: the room check's mark and the line of a unit that does not answer.
constexpr int DiffersMarkId = 1150;
constexpr int SilenceLabelId = 1151;
constexpr QRect DiffersMarkPlace(374, 13, 62, 22);
constexpr QRect SilenceLabelPlace(436, 12, 210, 26);

constexpr const char *TakeUnitSettingsText = "Take the unit's settings";
constexpr const char *SendSettingsAgainText = "Send ARX's settings again";

constexpr int CloseButtonInset = 30;
constexpr int MeterLeds = 32;
constexpr const char *NullCopyEntry = "NULL";

// The labels with fixed captions. "NAME:" and "IP:" are near-aligned, the rest far.
struct LabelRow {
    int id;
    QRect place;
    const char *caption;
    int alignment;
};
constexpr LabelRow Labels[] = {
    { .id = NameLabelId, .place = { 60, 15, 150, 20 }, .caption = "NAME:", .alignment = 0 },
    { .id = IpLabelId, .place = { 220, 15, 150, 20 }, .caption = "IP:", .alignment = 0 },
    { .id = 1118, .place = { 650, 15, 60, 20 }, .caption = "COPY:", .alignment = 2 },
    { .id = 1116, .place = { 195, 45, 60, 20 }, .caption = "GAIN:", .alignment = 2 },
    { .id = 1117, .place = { 325, 45, 60, 20 }, .caption = "MODE:", .alignment = 2 },
    { .id = 1113, .place = { 470, 45, 50, 20 }, .caption = "OPEN:", .alignment = 2 },
    { .id = 1114, .place = { 580, 45, 50, 20 }, .caption = "MUTE:", .alignment = 2 },
    { .id = 1115, .place = { 690, 45, 50, 20 }, .caption = "CALL:", .alignment = 2 },
};

// The four toggles: one handler walks this table.
struct ToggleRow {
    int id;
    int x;
    int offImage;
    int onImage;
    std::int32_t DeviceRecord::*field;
    UnitSetting setting;
};
constexpr int PhantomToggle = 3; // its row below
constexpr ToggleRow Toggles[] = {
    { .id = 1123,
        .x = 55,
        .offImage = 305,
        .onImage = 306,
        .field = &DeviceRecord::micMute,
        .setting = UnitSetting::Mute },
    { .id = 1125,
        .x = 90,
        .offImage = 307,
        .onImage = 308,
        .field = &DeviceRecord::lowCut,
        .setting = UnitSetting::LowCut },
    { .id = 1126,
        .x = 125,
        .offImage = 309,
        .onImage = 310,
        .field = &DeviceRecord::locate,
        .setting = UnitSetting::Locate },
    { .id = 1124,
        .x = 160,
        .offImage = 311,
        .onImage = 312,
        .field = &DeviceRecord::phantom,
        .setting = UnitSetting::Phantom },
};
constexpr int ToggleY = 45;
constexpr QSize ToggleSize(25, 20);

// The three light-ring colours: a label, a combo box by index, a 24-bit button.
struct ColourRow {
    RingColour colour;
    UnitSetting setting;
    int labelId;
    int comboId;
    int buttonId;
    int x;
};
constexpr ColourRow Colours[] = {
    { .colour = RingColour::Open,
        .setting = UnitSetting::ColourOpen,
        .labelId = 1113,
        .comboId = 1139,
        .buttonId = 1144,
        .x = 525 },
    { .colour = RingColour::Mute,
        .setting = UnitSetting::ColourMute,
        .labelId = 1114,
        .comboId = 1140,
        .buttonId = 1145,
        .x = 635 },
    { .colour = RingColour::Call,
        .setting = UnitSetting::ColourCall,
        .labelId = 1115,
        .comboId = 1141,
        .buttonId = 1146,
        .x = 745 },
};
constexpr int ColourY = 45;
constexpr QSize ColourSize(50, 20);

int familyImageFor(std::int32_t type)
{
    switch (type) {
    case UnitTypeVelK:
    case UnitTypeVelKShort:
        return VelKImage;
    case UnitTypePxl2:
        return Pxl2Image;
    default:
        return Arn1Image;
    }
}

template <class Control, class... Arguments>
Control *makeControl(QWidget *parent, int id, const QRect &place, Arguments &&...arguments)
{
    auto *control = new Control(std::forward<Arguments>(arguments)..., parent);
    setControlId(control, id);
    control->setGeometry(place);
    return control;
}

CComBoxBtn *makeSelector(QWidget *parent, int id, QPoint at, int listId)
{
    auto *selector = makeControl<CComBoxBtn>(parent, id, QRect(at, QSize(60, 20)));
    selector->setBitmaps(SelectorBitmap, SelectorActiveBitmap);
    const QFont font = arialCellFont(SelectorTextCell);
    selector->setFonts(font, font);
    selector->dropList()->setEntryFont(font);
    selector->attachList(listId);
    return selector;
}

void fillList(CComBoxBtn *selector, std::span<const char *const> entries)
{
    selector->dropList()->clearEntries();
    for (const char *entry : entries)
        selector->dropList()->addEntry(QString::fromLatin1(entry));
    selector->select(0);
}

QString differencesText(const std::vector<UnitDifference> &differences)
{
    QStringList lines;
    for (const UnitDifference &difference : differences)
        lines << QStringLiteral("%1: ARX: %2, unit: %3")
                     .arg(QString::fromStdString(difference.field),
                         QString::fromStdString(difference.arx),
                         QString::fromStdString(difference.unit));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

CInputDlg::CInputDlg(UnitController &units, Prompts &prompts, QWidget *parent)
    : QWidget(parent)
    , units_(units)
    , prompts_(prompts)
{
    buildControls();
    hide();
    stripReady_ = true;
}

CInputDlg::~CInputDlg() = default;

void CInputDlg::prepareFonts()
{
    // Finding a face and opening its file (the CJK fonts are large) takes milliseconds the
    // first time.
    for (const QFont &font : { unicodeBoldFont(LabelTextPoints), arialCellFont(SelectorTextCell) })
        QFontMetrics(font).height();
}

void CInputDlg::buildControls()
{
    panels_[0] = pngImage(OddPanelImage);
    panels_[1] = pngImage(EvenPanelImage);

    familyImage_ = makeControl<CStaticST>(this, FamilyImageId, QRect(10, 5, 24, 24));
    familyImage_->setTransparent(false);
    familyImage_->setImage(Arn1Image);
    familyImage_->setCursor(Qt::PointingHandCursor);
    familyImage_->setToolTip(QStringLiteral(
        "Click to select this strip; Shift+click selects the strips in between; Ctrl+A selects "
        "every strip and Escape none"));
    familyImage_->installEventFilter(this);

    for (const LabelRow &row : Labels) {
        auto *label = makeControl<CStaticST>(this, row.id, row.place);
        label->setTransparent(false);
        label->setTextSize(LabelTextPoints);
        label->setAlignment(row.alignment);
        label->setText(QString::fromLatin1(row.caption));
        captions_.push_back(label);
        if (row.id == NameLabelId)
            nameLabel_ = label;
        if (row.id == IpLabelId)
            ipLabel_ = label;
    }
    for (std::size_t i = 0; i < std::size(Colours); ++i)
        colourLabels_[i] = findControl<CStaticST>(this, Colours[i].labelId);

    meter_ = makeControl<CPeakMeterCtrl>(this, MeterId, QRect(440, 20, 192, 10));
    meter_->setHorizontal(true);
    meter_->setLedCount(MeterLeds);
    meter_->setBandCount(1);
    meter_->setGrid(true);
    meter_->setBackgroundColour(QColor(0x16, 0x1b, 0x24));

    copySelector_ = makeSelector(this, CopySelectorId, { 720, 15 }, CopyListId);
    okButton_ = makeControl<PngButton>(this, OkButtonId, QRect(840, 15, 32, 24));
    okButton_->setMode(ButtonMode::Push);
    okButton_->setDrawCaption(false);
    okButton_->setImages(OkImage, OkPressedImage);
    closeButton_
        = makeControl<PngButton>(this, CloseButtonId, QRect(width() - CloseButtonInset, 5, 24, 24));
    closeButton_->setMode(ButtonMode::Push);
    closeButton_->setDrawCaption(false);
    closeButton_->setImages(CloseImage, ClosePressedImage, CloseHoverImage);

    for (std::size_t i = 0; i < std::size(Toggles); ++i) {
        const ToggleRow &row = Toggles[i];
        PngButton *toggle
            = makeControl<PngButton>(this, row.id, QRect(QPoint(row.x, ToggleY), ToggleSize));
        toggle->setMode(ButtonMode::Toggle);
        toggle->setDrawCaption(false);
        toggle->setImages(row.offImage, row.onImage);
        toggles_[i] = toggle;
        connect(toggle, &PngButton::commanded, this, &CInputDlg::toggled);
    }
    equaliserButton_ = makeControl<PngButton>(
        this, EqualiserButtonId, QRect(QPoint(Toggles[PhantomToggle].x, ToggleY), ToggleSize));
    equaliserButton_->setMode(ButtonMode::Push);
    equaliserButton_->setDrawCaption(false);
    equaliserButton_->setImages(EqualiserImage, EqualiserPressedImage);
    equaliserButton_->hide();

    gainSelector_ = makeSelector(this, GainSelectorId, { 260, 45 }, GainListId);
    modeSelector_ = makeSelector(this, ModeSelectorId, { 390, 45 }, ModeListId);
    fillList(modeSelector_, ModeNames);

    for (std::size_t i = 0; i < std::size(Colours); ++i) {
        const ColourRow &row = Colours[i];
        const QRect place(QPoint(row.x, ColourY), ColourSize);
        colourCombos_[i] = makeControl<MyComboBox>(this, row.comboId, place);
        colourButtons_[i] = makeControl<CColourButton>(this, row.buttonId, place, prompts_);
        colourButtons_[i]->hide();
        const RingColour colour = row.colour;
        connect(colourCombos_[i], &QComboBox::activated, this,
            [this, colour](int index) { colourIndexChosen(colour, index); });
        connect(colourButtons_[i], &CColourButton::colourPicked, this, &CInputDlg::colourPicked);
    }

    for (CComBoxBtn *selector : { copySelector_, gainSelector_, modeSelector_ })
        connect(selector, &CComBoxBtn::dropListSelect, this, &CInputDlg::listChosen);
    connect(okButton_, &PngButton::commanded, this, &CInputDlg::copyFromUnit);
    connect(closeButton_, &PngButton::commanded, this, &CInputDlg::closeStrip);
    connect(equaliserButton_, &PngButton::commanded, this, &CInputDlg::equaliserPressed);
    buildCheckControls();
    applyStripColour();
}

void CInputDlg::buildCheckControls()
{
    differsMark_ = makeControl<QToolButton>(this, DiffersMarkId, DiffersMarkPlace);
    differsMark_->setText(QStringLiteral("differs"));
    differsMark_->setPopupMode(QToolButton::InstantPopup);
    differsMark_->setStyleSheet(QStringLiteral(
        "QToolButton { background: #e8a33d; color: #1b1206; border: none; border-radius: 4px;"
        " font-weight: bold; font-size: 12px; }"
        "QToolButton:hover { background: #f5bd62; }"
        "QToolButton::menu-indicator { image: none; width: 0; }"));
    auto *answers = new QMenu(differsMark_);
    connect(answers->addAction(QString::fromLatin1(TakeUnitSettingsText)), &QAction::triggered,
        this,
        [this] { emit differenceAnswered(deviceIndex(), DifferenceAnswer::TakeUnitSettings); });
    connect(answers->addAction(QString::fromLatin1(SendSettingsAgainText)), &QAction::triggered,
        this,
        [this] { emit differenceAnswered(deviceIndex(), DifferenceAnswer::SendSettingsAgain); });
    differsMark_->setMenu(answers);
    differsMark_->hide();

    silenceVeil_ = new QWidget(this);
    silenceVeil_->setAttribute(Qt::WA_TransparentForMouseEvents);
    silenceVeil_->setAttribute(Qt::WA_StyledBackground);
    silenceVeil_->setStyleSheet(QStringLiteral("background: rgba(8, 10, 14, 150);"));
    silenceVeil_->hide();
    silenceLabel_ = makeControl<QLabel>(this, SilenceLabelId, SilenceLabelPlace);
    silenceLabel_->setStyleSheet(
        QStringLiteral("color: #ff9e8f; font-weight: bold; font-size: 13px;"));
    silenceLabel_->hide();
}

void CInputDlg::setSlotIndex(int slotIndex)
{
    slotIndex_ = slotIndex;
    applyStripColour();
}

QColor CInputDlg::stripColour() const
{
    return slotIndex_ % 2 != 0 ? OddStripColour : EvenStripColour;
}

void CInputDlg::setSelected(bool selected)
{
    if (selected == selected_)
        return;
    selected_ = selected;
    applyStripColour();
}

void CInputDlg::applyStripColour()
{
    const QColor colour = stripColour();
    familyImage_->setFillColour(selected_ ? SelectedColour : colour);
    for (CStaticST *label : captions_)
        label->setFillColour(colour);
    update();
}

void CInputDlg::InitStrip()
{
    RebuildCopyList();

    familyImage_->setImage(Arn1Image);
    applyStripColour();
    for (std::size_t i = 0; i < std::size(Labels); ++i)
        captions_[i]->setText(QString::fromLatin1(Labels[i].caption));

    const std::int32_t type = record().type;
    fillList(gainSelector_, gainListFor(type));
    const StripControlsShown shown = stripControlsFor(type);
    toggles_[PhantomToggle]->setVisible(shown.phantom);
    equaliserButton_->setVisible(shown.equaliser);
    for (std::size_t i = 0; i < std::size(Colours); ++i) {
        colourLabels_[i]->setVisible(shown.colourLabels);
        colourCombos_[i]->setVisible(shown.colourCombos);
        colourButtons_[i]->setVisible(shown.colourButtons);
    }

    show();
    stripShown_ = true;
}

void CInputDlg::RebuildCopyList()
{
    // Every change of the unit list shows every strip again: with 64 units registering,
    // refilling unchanged lists held up the window for milliseconds at each one.
    std::vector<CopyEntry> sources = copySources(units_.store(), deviceIndex());
    CDropList *list = copySelector_->dropList();
    if (sources != copyEntries_ || list->entryCount() != 1 + static_cast<int>(sources.size())) {
        copyEntries_ = std::move(sources);
        list->clearEntries();
        list->addEntry(QString::fromLatin1(NullCopyEntry));
        for (const CopyEntry &entry : copyEntries_)
            list->addEntry(fromGbk(entry.nameBytes));
    }
    copySelector_->select(0);
}

void CInputDlg::RefreshFromRecord()
{
    if (!stripShown_)
        return;
    const DeviceRecord &unit = record();
    familyImage_->setImage(familyImageFor(unit.type));
    nameLabel_->setText(QStringLiteral("Name:") + fromGbk(textOf(unit.name)));
    ipLabel_->setText(QStringLiteral("IP:") + fromGbk(textOf(unit.ip)));

    for (std::size_t i = 0; i < std::size(Colours); ++i) {
        const std::int32_t value = unit.*ringColourField(Colours[i].colour);
        if (unit.type == UnitTypePxl2)
            colourButtons_[i]->setColour(static_cast<std::uint32_t>(value));
        else
            colourCombos_[i]->setCurrentIndex(std::clamp(value, 0, colourCombos_[i]->count() - 1));
    }
    for (std::size_t i = 0; i < std::size(Toggles); ++i)
        toggles_[i]->setState(unit.*Toggles[i].field != 0 ? 1 : 0);
    gainSelector_->select(gainListIndex(unit));
    modeSelector_->select(unit.mode);
}

void CInputDlg::UpdateMeter()
{
    // A unit that does not answer has no level: the last one would be a lie.
    const bool silent = check_.state == UnitCheckState::NotResponding;
    meter_->setBandValue(0, silent ? 0 : 2 * record().level);
}

void CInputDlg::showCheck(const UnitCheck &check)
{
    check_ = check;
    const bool differs = check.state == UnitCheckState::Differs;
    differsMark_->setToolTip(differs ? differencesText(check.differences) : QString());
    differsMark_->setVisible(differs);

    const bool silent = check.state == UnitCheckState::NotResponding;
    silenceLabel_->setText(silent
            ? QStringLiteral("No answer since %1").arg(QString::fromStdString(lastHeardText(check)))
            : QString());
    meter_->setVisible(!silent);
    silenceVeil_->setGeometry(rect());
    silenceVeil_->setVisible(silent);
    silenceLabel_->setVisible(silent);
    silenceVeil_->raise();
    silenceLabel_->raise();
    UpdateMeter();
}

void CInputDlg::closeStrip()
{
    // Cleared first: whoever hears the strip hide learns that it is closed.
    stripShown_ = false;
    hide();
}

std::vector<QWidget *> CInputDlg::wheelSelectors() const
{
    std::vector<QWidget *> selectors { copySelector_, gainSelector_, modeSelector_ };
    selectors.insert(selectors.end(), colourCombos_.begin(), colourCombos_.end());
    return selectors;
}

const DeviceRecord &CInputDlg::record() const
{
    return units_.store().unitTable.at(static_cast<std::size_t>(deviceIndex()));
}

void CInputDlg::change(UnitSetting setting, std::int32_t value)
{
    const std::vector<int> targets
        = changeTargets_ ? changeTargets_(deviceIndex()) : std::vector<int> { deviceIndex() };
    if (targets.size() <= 1) {
        if (units_.set(deviceIndex(), setting, value) != ChangeOutcome::Changed)
            RefreshFromRecord();
        return;
    }
    const ApplyResult result = units_.apply(targets, setting, value);
    if (std::find(result.changed.begin(), result.changed.end(), deviceIndex())
        == result.changed.end())
        RefreshFromRecord();
    emit appliedToUnits(
        static_cast<int>(result.changed.size()), static_cast<int>(result.skipped.size()));
}

void CInputDlg::toggled(int controlId)
{
    for (std::size_t i = 0; i < std::size(Toggles); ++i) {
        if (Toggles[i].id != controlId)
            continue;
        const int state = toggles_[i]->state() != 0 ? 0 : 1;
        toggles_[i]->setState(state);
        change(Toggles[i].setting, state);
        return;
    }
}

void CInputDlg::listChosen(int listId, int index)
{
    // A choice in the COPY list only picks the source; OK copies.
    if (listId == GainListId)
        change(UnitSetting::Gain, gainDb(record().type, index));
    else if (listId == ModeListId)
        change(UnitSetting::Mode, index);
}

void CInputDlg::colourIndexChosen(RingColour colour, int index)
{
    if (index < 0 || index >= static_cast<int>(std::size(colourIndexTable)))
        return;
    for (const ColourRow &row : Colours) {
        if (row.colour == colour)
            change(row.setting, static_cast<std::int32_t>(wideColour(colourIndexTable[index])));
    }
}

void CInputDlg::colourPicked(int controlId)
{
    for (std::size_t i = 0; i < std::size(Colours); ++i) {
        if (Colours[i].buttonId == controlId)
            change(Colours[i].setting, static_cast<std::int32_t>(colourButtons_[i]->colour()));
    }
}

void CInputDlg::copyFromUnit()
{
    // Entry 0 is "NULL": no source, whatever a unit may be called.
    const int index = copySelector_->currentIndex();
    if (index < 1 || index > static_cast<int>(copyEntries_.size()))
        return;
    units_.copyFromUnit(deviceIndex(), copyEntries_[static_cast<std::size_t>(index - 1)].nameBytes);
}

void CInputDlg::equaliserPressed()
{
    if (openEqualiser_)
        openEqualiser_(deviceIndex());
    RefreshFromRecord();
}

void CInputDlg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QImage &panel = panels_[slotIndex_ % 2 != 0 ? 0 : 1];
    if (panel.isNull())
        painter.fillRect(rect(), stripColour());
    else
        painter.drawImage(rect(), panel);
    if (selected_) {
        const int half = SelectedFrameWidth / 2;
        painter.setPen(QPen(SelectedColour, SelectedFrameWidth));
        painter.drawRect(rect().adjusted(half, half, -half - 1, -half - 1));
    }
}

bool CInputDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == familyImage_ && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::LeftButton) {
            emit pictureClicked(deviceIndex(), press->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CInputDlg::resizeEvent(QResizeEvent *event)
{
    if (stripReady_) {
        closeButton_->move(width() - CloseButtonInset, 5);
        silenceVeil_->setGeometry(rect());
    }
    QWidget::resizeEvent(event);
}

} // namespace arx
