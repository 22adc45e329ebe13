#include "network/DeviceAddress.h"
#include "model/Store.h"

#include <gtest/gtest.h>

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

TEST(DeviceAddress, AnEmptyTableMatchesNothing)
{
    const Table table {};
    EXPECT_EQ(findNetworkDevice(table, "Seat 01"), -1);
    EXPECT_EQ(findNetworkDevice(table, ""), -1) << "an empty name does not match a free entry";
    EXPECT_FALSE(deviceAddressFields(table, "Seat 01"));
}

TEST(DeviceAddress, TheFirstInUseEntryWithTheNameWinsAndEntriesNotInUseAreIgnored)
{
    Table table {};
    table[0] = device("Seat 01", "10.0.0.10", true, false);
    table[3] = device("Seat 01", "10.0.0.13", true, true);
    table[5] = device("Seat 01", "10.0.0.15", false, true);
    EXPECT_EQ(findNetworkDevice(table, "Seat 01"), 3);
    const std::optional<DeviceAddressFields> fields = deviceAddressFields(table, "Seat 01");
    ASSERT_TRUE(fields);
    EXPECT_EQ(*fields,
        (DeviceAddressFields { .staticAddress = true,
            .ipAddress = "10.0.0.13",
            .mask = "255.255.255.0",
            .gateway = "10.0.0.1",
            .dnsServer = "10.0.0.2",
            .name = "Seat 01" }));

    table[3].inUse = 0;
    EXPECT_EQ(findNetworkDevice(table, "Seat 01"), 5);
    EXPECT_FALSE(deviceAddressFields(table, "Seat 01")->staticAddress)
        << "the winner's own static flag counts";
}

TEST(DeviceAddress, NamesAreComparedAsWholeBytes)
{
    Table table {};
    table[0] = device("Seat 01", "10.0.0.10", false, true);
    table[1] = device("\xC4\xE3\xBA\xC3", "10.0.0.11", false, true); // GBK "你好"
    EXPECT_EQ(findNetworkDevice(table, "Seat 0"), -1) << "a prefix is not the name";
    EXPECT_EQ(findNetworkDevice(table, "seat 01"), -1) << "case counts";
    EXPECT_EQ(findNetworkDevice(table, "\xC4\xE3\xBA\xC3"), 1);
}

} // namespace
} // namespace arx
