#pragma once

#include "model/NetworkDevice.h"

#include <QDialog>

#include <array>
#include <cstddef>
#include <optional>

class QLineEdit;

namespace arx {

class PngButton;
class Prompts;

// The dialog ids of the network settings dialog's controls.
enum DeviceipControlId : int {
    DeviceipOkId = 1,
    DeviceipCancelId = 2,
    AutoIpToggleId = 1145,
    StaticIpToggleId = 1146,
    IpAddressFieldId = 1147,
    MaskFieldId = 1148,
    GatewayFieldId = 1149,
    DnsServerFieldId = 1150,
    NameFieldId = 1158,
    ApplyIpButtonId = 1159,
    ApplyNameButtonId = 1160,
};

constexpr const char *StaticIpErrorMessage = "static_ip error";

// "网络设置": the address mode and fields of one entry of the network-device table (none:
// auto mode, empty fields). It shows and edits its fields only: nothing is sent and nothing
// is written back to the table, whichever button is pressed.
class CDeviceipDlg final : public QDialog {
    Q_OBJECT
public:
    CDeviceipDlg(const std::array<NetworkDevice, NetworkDeviceCount> &table,
        std::optional<std::size_t> entry, Prompts &prompts, QWidget *parent = nullptr);

    std::optional<std::size_t> entry() const { return entry_; }
    bool isStaticMode() const { return staticMode_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void createControls();
    void setStaticMode(bool staticMode);
    void commanded(int controlId);

    std::optional<std::size_t> entry_;
    Prompts &prompts_;
    bool staticMode_ = false;
    PngButton *autoToggle_ = nullptr;
    PngButton *staticToggle_ = nullptr;
    std::array<QLineEdit *, 4> addressFields_ {}; // IP address, mask, gateway, DNS server
    QLineEdit *nameField_ = nullptr;
    PngButton *ipButton_ = nullptr;
};

} // namespace arx
