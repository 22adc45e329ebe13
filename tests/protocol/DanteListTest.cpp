#include "protocol/DanteList.h"

#include <gtest/gtest.h>

namespace arx {
namespace {

using Table = std::array<NetworkDevice, NetworkDeviceCount>;

UnitListModel units(int count)
{
    UnitListModel list;
    for (int number = 1; number <= count; ++number)
        list.appendRow({ std::to_string(number), "Seat " + std::to_string(number),
            "127.0.110." + std::to_string(9 + number), "ARN1" });
    return list;
}

TEST(DanteList, ListsUnitsThenProcessorsWithChannelsShownAsDashes)
{
    const UnitListModel unitRows = units(2);
    ProcessorListModel processors;
    processors.appendRow({ "127.0.110.200", "Hall", "39060", ProcessorNotConnected });
    DanteListModel list;
    Table table {};
    RebuildDanteList(unitRows, processors, list, table);

    ASSERT_EQ(list.rowCount(), 3u);
    EXPECT_EQ(list.rows()[0], (DanteListModel::Row { "1", "127.0.110.10", "Seat 1", "-", "-" }));
    EXPECT_EQ(list.rows()[1], (DanteListModel::Row { "2", "127.0.110.11", "Seat 2", "-", "-" }));
    EXPECT_EQ(list.rows()[2], (DanteListModel::Row { "", "127.0.110.200", "Hall", "-", "-" }))
        << "a processor has no Dante ID";
    EXPECT_STREQ(list.title(DanteIdColumn), "Dante ID");
}

TEST(DanteList, TheFirst32RowsBecomeTheNetworkDeviceTable)
{
    const UnitListModel unitRows = units(33);
    ProcessorListModel processors;
    processors.appendRow({ "127.0.110.200", "Hall", "39060", ProcessorNotConnected });
    DanteListModel list;
    Table table {};
    RebuildDanteList(unitRows, processors, list, table);

    ASSERT_EQ(list.rowCount(), 34u);
    for (std::size_t entry = 0; entry < table.size(); ++entry) {
        SCOPED_TRACE(entry);
        EXPECT_EQ(textOf(table[entry].name), list.cell(entry, DanteNameColumn));
        EXPECT_EQ(textOf(table[entry].ipAddress), list.cell(entry, DanteAddressColumn));
        EXPECT_EQ(table[entry].inUse, 1);
        EXPECT_EQ(table[entry].staticAddress, 0);
        EXPECT_EQ(textOf(table[entry].mask), "");
        EXPECT_EQ(textOf(table[entry].gateway), "");
        EXPECT_EQ(textOf(table[entry].dnsServer), "");
    }
    EXPECT_EQ(textOf(table[31].name), "Seat 32");
    for (const NetworkDevice &device : table)
        EXPECT_NE(textOf(device.name), "Hall") << "rows past the 32nd have no entry";
}

TEST(DanteList, ARebuildFromFewerRowsFreesTheEntriesLeftOver)
{
    DanteListModel list;
    Table table {};
    setText(table[5].mask, "255.0.0.0");
    RebuildDanteList(units(3), {}, list, table);
    EXPECT_EQ(table[2].inUse, 1);
    EXPECT_EQ(textOf(table[5].mask), "") << "nothing stale survives";

    RebuildDanteList(units(1), {}, list, table);
    ASSERT_EQ(list.rowCount(), 1u);
    EXPECT_EQ(table[0].inUse, 1);
    for (std::size_t entry = 1; entry < table.size(); ++entry)
        EXPECT_EQ(table[entry].inUse, 0) << "entry " << entry;

    RebuildDanteList({}, {}, list, table);
    EXPECT_EQ(list.rowCount(), 0u);
    EXPECT_EQ(table[0].inUse, 0);
    EXPECT_EQ(textOf(table[0].name), "");
}

TEST(DanteList, NameBytesGoIntoTheTableUnchanged)
{
    UnitListModel unitRows;
    // 23 bytes ending in the first half of a GBK character: what a cut name looks like.
    const std::string cut = std::string(22, 'A') + "\xC4";
    unitRows.appendRow({ "1", cut, "127.0.110.10", "ARN1" });
    DanteListModel list;
    Table table {};
    RebuildDanteList(unitRows, {}, list, table);
    EXPECT_EQ(textOf(table[0].name), cut);
    EXPECT_EQ(list.cell(0, DanteNameColumn), cut);
}

} // namespace
} // namespace arx
