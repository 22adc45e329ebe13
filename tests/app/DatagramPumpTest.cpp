#include "app/DatagramPump.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <thread>
#include <vector>

namespace arx {
namespace {

constexpr const char *PumpAddress = "127.0.2.50";
constexpr const char *UnitAddress = "127.0.2.51";

// Waits, with the UI thread held up, until the receive thread has taken `count` datagrams.
bool waitUntilTaken(const DatagramPump &pump, std::size_t count)
{
    const QDeadlineTimer guard(5000);
    while (pump.pendingCount() + pump.droppedCount() < count) {
        if (guard.hasExpired())
            return false;
        std::this_thread::yield();
    }
    return true;
}

// While the UI thread is busy, level reports wait in a bounded queue; those past its
// capacity are dropped, and the ones kept arrive in order when the UI thread returns.
TEST(DatagramPump, KeepsAtMostItsCapacityWhileTheUserInterfaceIsBusy)
{
    UdpTransport transport;
    ASSERT_TRUE(transport.open(PumpAddress, 39030));
    DatagramPump pump(transport);
    std::vector<int> levels;
    QObject::connect(&pump, &DatagramPump::received, &pump,
                     [&](const Datagram &datagram) { levels.push_back(datagram.bytes[2]); });
    pump.start();

    const int unit = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, UnitAddress, &address.sin_addr);
    ASSERT_EQ(::bind(unit, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    address.sin_port = htons(39030);
    inet_pton(AF_INET, PumpAddress, &address.sin_addr);

    constexpr std::size_t Extra = 100;
    const std::size_t total = DatagramPump::Capacity + Extra;
    for (std::size_t i = 0; i < total; ++i) {
        const std::uint8_t report[] = {0x25, 0x47, static_cast<std::uint8_t>(i % 200), 0x23};
        ::sendto(unit, report, sizeof report, 0, reinterpret_cast<sockaddr *>(&address),
                 sizeof address);
        // Stay well within the socket's own buffer, so that only the pump can drop.
        if (i % 64 == 63) {
            ASSERT_TRUE(waitUntilTaken(pump, i + 1)) << "receive thread stalled at " << i;
        }
    }
    ::close(unit);
    ASSERT_TRUE(waitUntilTaken(pump, total));

    EXPECT_EQ(pump.pendingCount(), DatagramPump::Capacity);
    EXPECT_EQ(pump.droppedCount(), Extra);
    // Handed over in slices, each its own turn of the event loop.
    const QDeadlineTimer guard(5000);
    while (levels.size() < DatagramPump::Capacity && !guard.hasExpired())
        QCoreApplication::processEvents();
    ASSERT_EQ(levels.size(), DatagramPump::Capacity);
    for (std::size_t i = 0; i < levels.size(); ++i)
        ASSERT_EQ(levels[i], static_cast<int>(i % 200)) << "out of order at " << i;
    EXPECT_EQ(pump.pendingCount(), 0u);
    transport.stop();
}

} // namespace
} // namespace arx
