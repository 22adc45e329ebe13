#include "network/CDeviceipDlg.h"

#include "controls/GbkText.h"
#include "controls/CStaticST.h"
#include "controls/ControlId.h"
#include "controls/PngButton.h"
#include "network/DeviceAddress.h"
#include "seams/Prompts.h"

#include <QLineEdit>
#include <QPainter>

namespace arx {

namespace {

// Artwork numbers.
constexpr int ToggleOffImage = 372;
constexpr int ToggleOnImage = 373;
constexpr int ButtonImage = 374;
constexpr int ButtonHoverImage = 375;

constexpr QSize DialogSize { 480, 320 };
constexpr int LabelTextPoints = 10;

struct LabelPlace {
    const char *text;
    QRect place;
};

constexpr LabelPlace Labels[] = {
    { .text = "Auto IP", .place = { 55, 50, 120, 20 } },
    { .text = "Static IP", .place = { 55, 80, 120, 20 } },
    { .text = "IP ADDRESS", .place = { 30, 110, 120, 20 } },
    { .text = "MASK", .place = { 30, 140, 120, 20 } },
    { .text = "Gate Way", .place = { 30, 170, 120, 20 } },
    { .text = "DNS Server", .place = { 30, 200, 120, 20 } },
    { .text = "Name", .place = { 30, 230, 120, 20 } },
};

struct FieldPlace {
    int id;
    std::string DeviceAddressFields::*value;
    QRect place;
};

// In the order of addressFields_, then the name.
constexpr FieldPlace Fields[] = {
    { .id = IpAddressFieldId,
        .value = &DeviceAddressFields::ipAddress,
        .place = { 160, 110, 150, 20 } },
    { .id = MaskFieldId, .value = &DeviceAddressFields::mask, .place = { 160, 140, 150, 20 } },
    { .id = GatewayFieldId,
        .value = &DeviceAddressFields::gateway,
        .place = { 160, 170, 150, 20 } },
    { .id = DnsServerFieldId,
        .value = &DeviceAddressFields::dnsServer,
        .place = { 160, 200, 150, 20 } },
    { .id = NameFieldId, .value = &DeviceAddressFields::name, .place = { 160, 230, 150, 20 } },
};

struct ButtonPlace {
    int id;
    const char *caption; // UTF-8
    QRect place;
    ButtonMode mode;
};

constexpr ButtonPlace Buttons[] = {
    { .id = AutoIpToggleId,
        .caption = "",
        .place = { 30, 50, 20, 20 },
        .mode = ButtonMode::Toggle },
    { .id = StaticIpToggleId,
        .caption = "",
        .place = { 30, 80, 20, 20 },
        .mode = ButtonMode::Toggle },
    { .id = ApplyIpButtonId,
        .caption = "IP",
        .place = { 350, 200, 100, 20 },
        .mode = ButtonMode::Toggle },
    { .id = ApplyNameButtonId,
        .caption = "Name",
        .place = { 350, 230, 100, 20 },
        .mode = ButtonMode::Toggle },
    { .id = DeviceipOkId,
        .caption = "确定",
        .place = { 80, 280, 120, 20 },
        .mode = ButtonMode::Push },
    { .id = DeviceipCancelId,
        .caption = "取消",
        .place = { 220, 280, 150, 20 },
        .mode = ButtonMode::Push },
};

} // namespace

CDeviceipDlg::CDeviceipDlg(const std::array<NetworkDevice, NetworkDeviceCount> &table,
    std::optional<std::size_t> entry, Prompts &prompts, QWidget *parent)
    : QDialog(parent)
    , entry_(entry)
    , prompts_(prompts)
{
    setWindowTitle(QStringLiteral("网络设置"));
    setFixedSize(DialogSize);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    createControls();

    setStaticMode(false);
    const std::optional<DeviceAddressFields> fields = deviceAddressFields(table, entry_);
    if (!fields)
        return;
    setStaticMode(fields->staticAddress);
    for (const FieldPlace &field : Fields)
        findControl<QLineEdit>(this, field.id)->setText(fromGbk((*fields).*field.value));
}

void CDeviceipDlg::createControls()
{
    for (const LabelPlace &label : Labels) {
        auto *text = new CStaticST(this);
        text->setFace(CStaticST::Face::SimSun);
        text->setTextSize(LabelTextPoints);
        text->setAlignment(CStaticST::Far);
        text->setText(QString::fromUtf8(label.text));
        text->setGeometry(label.place);
    }
    std::size_t next = 0;
    for (const FieldPlace &field : Fields) {
        auto *edit = new QLineEdit(this);
        setControlId(edit, field.id);
        edit->setGeometry(field.place);
        if (field.id == NameFieldId)
            nameField_ = edit;
        else
            addressFields_[next++] = edit;
    }
    for (const ButtonPlace &place : Buttons) {
        auto *button = new PngButton(this);
        setControlId(button, place.id);
        button->setText(QString::fromUtf8(place.caption));
        button->setMode(place.mode);
        button->setGeometry(place.place);
        if (place.id == AutoIpToggleId || place.id == StaticIpToggleId)
            button->setImages(ToggleOffImage, ToggleOnImage);
        else if (place.mode == ButtonMode::Push)
            button->setImages(ButtonImage, ButtonImage, ButtonHoverImage);
        else // "IP" and "Name": toggles whose state stays 0, so always the plain image
            button->setImages(ButtonImage, ButtonImage);
        connect(button, &PngButton::commanded, this, &CDeviceipDlg::commanded);
    }
    autoToggle_ = findControl<PngButton>(this, AutoIpToggleId);
    staticToggle_ = findControl<PngButton>(this, StaticIpToggleId);
    ipButton_ = findControl<PngButton>(this, ApplyIpButtonId);
}

void CDeviceipDlg::setStaticMode(bool staticMode)
{
    staticMode_ = staticMode;
    autoToggle_->setState(staticMode ? 0 : 1);
    staticToggle_->setState(staticMode ? 1 : 0);
    for (QLineEdit *field : addressFields_)
        field->setEnabled(staticMode);
    ipButton_->setEnabled(staticMode);
    // The image button draws no disabled look of its own: a dimmed caption says it.
    const QColor caption = staticMode ? QColor(255, 255, 255) : QColor(110, 120, 135);
    ipButton_->setCaptionColours(caption, caption);
}

void CDeviceipDlg::commanded(int controlId)
{
    switch (controlId) {
    case AutoIpToggleId:
        setStaticMode(false);
        prompts_.message(StaticIpErrorMessage);
        break;
    case StaticIpToggleId:
        setStaticMode(true);
        break;
    case ApplyIpButtonId: // no command carries the addresses to a device
        prompts_.message(StaticIpErrorMessage);
        break;
    case DeviceipOkId:
        accept();
        break;
    case DeviceipCancelId:
        reject();
        break;
    default: // "Name": nothing carries a name either
        break;
    }
}

void CDeviceipDlg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

} // namespace arx
