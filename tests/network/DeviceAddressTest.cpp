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

TEST(DeviceAddress, AnEntryInUseGivesItsFieldsAndAnythingElseNothing)
{
    Table table {};
    table[3] = device("Seat 01", "10.0.0.13", true, false);
    table[5] = device("Seat 01", "10.0.0.15", true, true);
    EXPECT_FALSE(deviceAddressFields(table, std::nullopt)) << "no entry";
    EXPECT_FALSE(deviceAddressFields(table, 0)) << "an empty entry";
    EXPECT_FALSE(deviceAddressFields(table, 3)) << "not in use";
    EXPECT_FALSE(deviceAddressFields(table, NetworkDeviceCount)) << "past the table";
    EXPECT_EQ(deviceAddressFields(table, 5),
        (DeviceAddressFields { .staticAddress = true,
            .ipAddress = "10.0.0.15",
            .mask = "255.255.255.0",
            .gateway = "10.0.0.1",
            .dnsServer = "10.0.0.2",
            .name = "Seat 01" }));
}

// The device list's rows, each opened through its own entry: names repeat, and two
// processors never renamed are both "".
TEST(DeviceAddress, RowsThatShareANameOpenTheirOwnDevices)
{
    UnitListModel units;
    ProcessorListModel processors;
    processors.appendRow({ "127.0.120.200", "", "39060", ProcessorNotConnected });
    processors.appendRow({ "127.0.120.201", "", "39060", ProcessorNotConnected });
    DanteListModel rows;
    Table table {};
    RebuildDanteList(units, processors, rows, table);
    EXPECT_EQ(deviceAddressFields(table, rows.networkEntry(0))->ipAddress, "127.0.120.200");
    EXPECT_EQ(deviceAddressFields(table, rows.networkEntry(1))->ipAddress, "127.0.120.201");

    for (int number = 1; number <= NetworkDeviceCount; ++number) // 32 units fill the table
        units.appendRow({ std::to_string(number), "", "127.0.120." + std::to_string(number + 9) });
    RebuildDanteList(units, processors, rows, table);
    EXPECT_EQ(deviceAddressFields(table, rows.networkEntry(20))->ipAddress, "127.0.120.30");
    EXPECT_FALSE(rows.networkEntry(NetworkDeviceCount)) << "a row past the table has no entry";
}

} // namespace
} // namespace arx
