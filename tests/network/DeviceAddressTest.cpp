#include "network/DeviceAddress.h"
#include "model/Store.h"
#include "protocol/DanteList.h"

#include <gtest/gtest.h>

#include <string>

namespace arx {
namespace {

using Table = std::array<NetworkDevice, NetworkDeviceCount>;

NetworkDevice device(const char *name, const char *ip, bool staticAddress, bool inUse)
{
    NetworkDevice entry;
    setText(entry.name, name);
    setText(entry.ipAddress, ip);
    setText(entry.mask, "255.255.255.0");
    setText(entry.gateway, "10.0.0.1");
    setText(entry.dnsServer, "10.0.0.2");
    entry.staticAddress = staticAddress ? 1 : 0;
    entry.inUse = inUse ? 1 : 0;
    return entry;
}

TEST(DeviceAddress, NoEntryAnEntryPastTheTableOrOneNotInUseGivesNothing)
{
    Table table {};
    EXPECT_FALSE(deviceAddressFields(table, 0)) << "an empty table";
    table[3] = device("Seat 01", "10.0.0.13", true, false);
    table[5] = device("Seat 01", "10.0.0.15", true, true);
    EXPECT_FALSE(deviceAddressFields(table, 3)) << "not in use";
    EXPECT_FALSE(deviceAddressFields(table, std::nullopt));
    EXPECT_FALSE(deviceAddressFields(table, NetworkDeviceCount));
    EXPECT_EQ(deviceAddressFields(table, 5),
        (DeviceAddressFields { .staticAddress = true,
            .ipAddress = "10.0.0.15",
            .mask = "255.255.255.0",
            .gateway = "10.0.0.1",
            .dnsServer = "10.0.0.2",
            .name = "Seat 01" }));
}

// The rows of the device list as the main window builds them, each opened through its own
// entry: names repeat, and two processors that were never renamed are both "".
TEST(DeviceAddress, RowsThatShareANameOpenTheirOwnDevices)
{
    UnitListModel units;
    units.appendRow({ "1", "\xBB\xE1\xD2\xE9", "127.0.120.10", "PXL2" }); // GBK "会议"
    ProcessorListModel processors;
    processors.appendRow({ "127.0.120.200", "", "39060", ProcessorNotConnected });
    processors.appendRow({ "127.0.120.201", "", "39060", ProcessorNotConnected });
    DanteListModel rows;
    Table table {};
    RebuildDanteList(units, processors, rows, table);

    const char *const addresses[] = { "127.0.120.10", "127.0.120.200", "127.0.120.201" };
    ASSERT_EQ(rows.rowCount(), std::size(addresses));
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        const std::optional<DeviceAddressFields> fields
            = deviceAddressFields(table, rows.networkEntry(row));
        ASSERT_TRUE(fields) << "row " << row;
        EXPECT_EQ(fields->ipAddress, addresses[row]) << "row " << row;
        EXPECT_EQ(fields->name, rows.cell(row, DanteNameColumn)) << "row " << row;
    }

    // With 32 units named alike the second processor's row finds no room in the table.
    units.clear();
    for (int number = 1; number <= NetworkDeviceCount; ++number)
        units.appendRow(
            { std::to_string(number), "Seat", "127.0.120." + std::to_string(9 + number), "ARN1" });
    RebuildDanteList(units, processors, rows, table);
    EXPECT_EQ(deviceAddressFields(table, rows.networkEntry(20))->ipAddress, "127.0.120.30");
    EXPECT_FALSE(rows.networkEntry(NetworkDeviceCount)) << "a row past the table";
    EXPECT_FALSE(deviceAddressFields(table, rows.networkEntry(NetworkDeviceCount + 1)));
}

} // namespace
} // namespace arx
