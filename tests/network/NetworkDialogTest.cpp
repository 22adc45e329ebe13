// The network settings dialog: its controls, the table look-up, the mode toggles, and
// that no button writes anything back.
#include "controls/ControlId.h"
#include "controls/PngButton.h"
#include "model/Store.h"
#include "network/CDeviceipDlg.h"

#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <cstring>

namespace arx {
namespace {

using Table = std::array<NetworkDevice, NetworkDeviceCount>;

NetworkDevice entry(const char *name, const char *ip, bool staticAddress, bool inUse)
{
    NetworkDevice device;
    setText(device.name, name);
    setText(device.ipAddress, ip);
    setText(device.mask, "255.255.255.0");
    setText(device.gateway, "127.0.110.254");
    setText(device.dnsServer, "127.0.110.253");
    device.staticAddress = staticAddress ? 1 : 0;
    device.inUse = inUse ? 1 : 0;
    return device;
}

constexpr int AddressFieldIds[] = { 1147, 1148, 1149, 1150 };

struct Dialog {
    test::ScriptedPrompts prompts;
    CDeviceipDlg dialog;

    Dialog(const Table &table, std::optional<std::size_t> entry)
        : dialog(table, entry, prompts)
    {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    PngButton *button(int id) { return findControl<PngButton>(&dialog, id); }
    QLineEdit *field(int id) { return findControl<QLineEdit>(&dialog, id); }
    void click(int id) { QTest::mouseClick(button(id), Qt::LeftButton); }

    void expectMode(bool staticMode)
    {
        EXPECT_EQ(dialog.isStaticMode(), staticMode);
        EXPECT_EQ(button(1145)->state(), staticMode ? 0 : 1) << "Auto IP ticked";
        EXPECT_EQ(button(1146)->state(), staticMode ? 1 : 0) << "Static IP ticked";
        for (int id : AddressFieldIds)
            EXPECT_EQ(field(id)->isEnabled(), staticMode) << "field " << id;
        EXPECT_EQ(button(1159)->isEnabled(), staticMode) << "IP button";
        EXPECT_TRUE(field(1158)->isEnabled()) << "the name field stays editable";
    }
};

TEST(NetworkDialog, EveryControlSitsAtItsPlace)
{
    struct Place {
        int id;
        QRect geometry;
    };
    const Place places[] = {
        { 1145, { 30, 50, 20, 20 } },
        { 1146, { 30, 80, 20, 20 } },
        { 1147, { 160, 110, 150, 20 } },
        { 1148, { 160, 140, 150, 20 } },
        { 1149, { 160, 170, 150, 20 } },
        { 1150, { 160, 200, 150, 20 } },
        { 1159, { 350, 200, 100, 20 } },
        { 1158, { 160, 230, 150, 20 } },
        { 1160, { 350, 230, 100, 20 } },
        { 1, { 80, 280, 120, 20 } },
        { 2, { 220, 280, 150, 20 } },
    };
    Dialog fixture({}, std::nullopt);
    EXPECT_EQ(fixture.dialog.windowTitle(), QStringLiteral("网络设置"));
    for (const Place &place : places) {
        QWidget *control = findControl(&fixture.dialog, place.id);
        ASSERT_NE(control, nullptr) << "control " << place.id;
        EXPECT_EQ(control->geometry(), place.geometry) << "control " << place.id;
    }
    EXPECT_EQ(fixture.button(1159)->text(), QStringLiteral("IP"));
    EXPECT_EQ(fixture.button(1160)->text(), QStringLiteral("Name"));
    EXPECT_EQ(fixture.button(1)->text(), QStringLiteral("确定"));
    EXPECT_EQ(fixture.button(2)->text(), QStringLiteral("取消"));
    EXPECT_EQ(fixture.button(1)->mode(), ButtonMode::Push);
    EXPECT_EQ(fixture.button(1159)->mode(), ButtonMode::Toggle);
}

TEST(NetworkDialog, AnEmptyTableOpensInAutoModeWithEmptyFields)
{
    Dialog fixture({}, 0);
    fixture.expectMode(false);
    for (int id : { 1147, 1148, 1149, 1150, 1158 })
        EXPECT_TRUE(fixture.field(id)->text().isEmpty()) << "field " << id;
    EXPECT_TRUE(fixture.prompts.shown.empty()) << "no match is no message";
}

TEST(NetworkDialog, ItsEntryInUseFillsTheFieldsAndItsFlagPicksTheMode)
{
    Table table {};
    table[0] = entry("Seat 01", "127.0.110.10", false, false); // not in use: ignored
    table[1] = entry("Seat 02", "127.0.110.11", true, true);
    table[2] = entry("Seat 01", "127.0.110.12", true, true);
    table[3] = entry("Seat 01", "127.0.110.13", false, true);

    Dialog chosen(table, 2);
    chosen.expectMode(true);
    EXPECT_EQ(chosen.field(1147)->text(), QStringLiteral("127.0.110.12"));
    EXPECT_EQ(chosen.field(1148)->text(), QStringLiteral("255.255.255.0"));
    EXPECT_EQ(chosen.field(1149)->text(), QStringLiteral("127.0.110.254"));
    EXPECT_EQ(chosen.field(1150)->text(), QStringLiteral("127.0.110.253"));
    EXPECT_EQ(chosen.field(1158)->text(), QStringLiteral("Seat 01"));

    Dialog dynamic(table, 3);
    dynamic.expectMode(false);
    EXPECT_EQ(dynamic.field(1147)->text(), QStringLiteral("127.0.110.13"))
        << "an automatic device still shows its fields";

    Dialog unused(table, 0);
    unused.expectMode(false);
    EXPECT_TRUE(unused.field(1147)->text().isEmpty()) << "an entry not in use shows nothing";
}

TEST(NetworkDialog, ANameFromGbkBytesIsShownDecoded)
{
    Table table {};
    table[0] = entry("\xBB\xE1\xD2\xE9\xCA\xD2", "127.0.110.10", false, true); // "会议室"
    Dialog fixture(table, 0);
    EXPECT_EQ(fixture.field(1158)->text(), QStringLiteral("会议室"));
}

TEST(NetworkDialog, StaticThenAutoDisablesTheFieldsAgainAndSaysStaticIpError)
{
    Dialog fixture({}, std::nullopt);
    fixture.click(1146);
    fixture.expectMode(true);
    EXPECT_TRUE(fixture.prompts.shown.empty()) << "Static IP says nothing";

    fixture.click(1145);
    fixture.expectMode(false);
    EXPECT_EQ(fixture.prompts.shown, std::vector<std::string> { "static_ip error" });
}

TEST(NetworkDialog, IpSaysStaticIpErrorAndNameSaysNothing)
{
    Table table {};
    table[0] = entry("Seat 01", "127.0.110.10", true, true);
    Dialog fixture(table, 0);
    fixture.click(1159);
    EXPECT_EQ(fixture.prompts.shown, std::vector<std::string> { "static_ip error" });
    EXPECT_EQ(fixture.button(1159)->state(), 0) << "the IP button stays plain";

    fixture.click(1160);
    EXPECT_EQ(fixture.prompts.shown.size(), 1u);
    EXPECT_EQ(fixture.button(1160)->state(), 0);
    EXPECT_TRUE(fixture.dialog.isVisible()) << "neither closes the dialog";
}

TEST(NetworkDialog, OkAndCancelCloseWithoutWritingAnythingBack)
{
    Table table {};
    table[0] = entry("Seat 01", "127.0.110.10", false, true);
    const Table before = table;

    for (const int button : { 1, 2 }) {
        SCOPED_TRACE(button);
        Dialog fixture(table, 0);
        fixture.click(1146);
        for (int id : { 1147, 1148, 1149, 1150, 1158 }) {
            fixture.field(id)->clear();
            QTest::keyClicks(fixture.field(id), QStringLiteral("10.9.8.7"));
        }
        fixture.click(button);
        EXPECT_FALSE(fixture.dialog.isVisible());
        EXPECT_EQ(fixture.dialog.result(), button == 1 ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(std::memcmp(table.data(), before.data(), sizeof table), 0);
        EXPECT_TRUE(fixture.prompts.shown.empty());
    }
}

} // namespace
} // namespace arx
