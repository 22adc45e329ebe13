#include "protocol/LocalAddress.h"
#include "protocol/CommandSocket.h"
#include "protocol/Ports.h"

#include "protocol/Address.h"

#include "ScriptedPrompts.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace arx {
namespace {

// This program's private loopback subnet.
constexpr const char *OwnAddress = "127.0.4.1";
// Not the units' search port, so that no emulator elsewhere hears this test's datagram.
constexpr std::uint16_t GroupTestPort = 39104;

TEST(LocalAddress, TheInterfaceAddressWinsOverTheHostLookup)
{
    EXPECT_EQ(findLocalAddress(OwnAddress), OwnAddress);
    EXPECT_EQ(findLocalAddress("no address"), std::nullopt);
}

TEST(LocalAddress, WithoutAnInterfaceItIsAnIPv4AddressOfTheHostOrNothing)
{
    const auto own = findLocalAddress("");
    if (own) {
        EXPECT_TRUE(isDottedIPv4(*own)) << *own;
    }
    EXPECT_EQ(own, hostAddress());
}

// Rows: host-name addresses, interface addresses, the address devices are told to answer to.
struct HostAddressCase {
    std::vector<std::string> names;
    std::vector<std::string> interfaces;
    std::optional<std::string> expected;
};

class HostAddressChoice : public ::testing::TestWithParam<HostAddressCase> { };

TEST_P(HostAddressChoice, PrefersAnAddressDevicesCanReach)
{
    const HostAddressCase &row = GetParam();
    EXPECT_EQ(chooseHostAddress(row.names, row.interfaces), row.expected);
}

INSTANTIATE_TEST_SUITE_P(LocalAddress, HostAddressChoice,
    ::testing::Values(
        // The name's own first address when it is a network address.
        HostAddressCase { { "192.0.2.15", "198.51.100.7" }, { "203.0.113.9" }, "192.0.2.15" },
        // A name mapped to 127.0.1.1 (as Debian does) gives way to the network interface.
        HostAddressCase { { "127.0.1.1" }, { "127.0.0.1", "192.0.2.15" }, "192.0.2.15" },
        // A link-local address only when nothing better exists.
        HostAddressCase { { "127.0.1.1" }, { "169.254.3.4", "192.0.2.15" }, "192.0.2.15" },
        HostAddressCase { { "127.0.1.1" }, { "127.0.0.1", "169.254.3.4" }, "169.254.3.4" },
        // A computer without any network keeps its loopback name.
        HostAddressCase { { "127.0.1.1" }, { "127.0.0.1" }, "127.0.1.1" },
        HostAddressCase { {}, {}, std::nullopt }));

TEST(LocalAddress, TheSearchLeavesOnTheInterfaceItsRequestCarries)
{
    // A listener that has joined the group on the test's interface only.
    const int listener = ::socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(listener, 0);
    const int on = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in group {};
    group.sin_family = AF_INET;
    group.sin_port = htons(GroupTestPort);
    inet_pton(AF_INET, SearchGroup, &group.sin_addr);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr *>(&group), sizeof group), 0);
    ip_mreq membership {};
    membership.imr_multiaddr = group.sin_addr;
    inet_pton(AF_INET, OwnAddress, &membership.imr_interface);
    ASSERT_EQ(
        ::setsockopt(listener, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof membership), 0);

    test::ScriptedPrompts prompts;
    UdpTransport transport;
    ASSERT_TRUE(openCommandSocket(transport, OwnAddress, prompts));
    const std::uint8_t frame[] = { '%', 'C', '#' };
    ASSERT_TRUE(transport.send(SearchGroup, GroupTestPort, frame));

    pollfd wait { listener, POLLIN, 0 };
    ASSERT_EQ(::poll(&wait, 1, 5000), 1) << "the datagram arrives (hang guard, not a timing)";
    std::uint8_t received[16] = {};
    sockaddr_in sender {};
    socklen_t senderLength = sizeof sender;
    const ssize_t length = ::recvfrom(listener, received, sizeof received, 0,
        reinterpret_cast<sockaddr *>(&sender), &senderLength);
    EXPECT_EQ(length, 3);
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &sender.sin_addr, text, sizeof text);
    EXPECT_STREQ(text, OwnAddress);
    EXPECT_EQ(ntohs(sender.sin_port), LocalPort) << "from the command socket";
    ::close(listener);
}

} // namespace
} // namespace arx
