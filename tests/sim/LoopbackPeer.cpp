#include "LoopbackPeer.h"

#include "Wire.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace arxsim {

namespace {

sockaddr_in socketAddress(const Endpoint &endpoint)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(endpoint.port);
    address.sin_addr.s_addr = htonl(endpoint.address);
    return address;
}

} // namespace

Bytes searchRequest(const Endpoint &carried)
{
    const Ipv4 a = carried.address;
    return { '%', 'C', static_cast<std::uint8_t>(carried.port >> 8),
        static_cast<std::uint8_t>(carried.port), static_cast<std::uint8_t>(a >> 24),
        static_cast<std::uint8_t>(a >> 16), static_cast<std::uint8_t>(a >> 8),
        static_cast<std::uint8_t>(a), '#' };
}

LoopbackPeer::LoopbackPeer(const std::string &address, std::uint16_t port)
    : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0))
{
    const auto ip = parseIpv4(address);
    if (!ip || !isLoopback(*ip))
        throw std::runtime_error("a test peer lives on loopback, not " + address);
    endpoint_ = { *ip, port };
    const sockaddr_in local = socketAddress(endpoint_);
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0)
        throw std::runtime_error(
            "cannot bind " + formatEndpoint(endpoint_) + ": " + std::strerror(errno));
}

LoopbackPeer::~LoopbackPeer()
{
    ::close(fd_);
}

void LoopbackPeer::sendTo(const Endpoint &to, const Bytes &bytes)
{
    if (!isLoopback(to.address) && to.address != SearchGroup)
        throw std::runtime_error("a test sends only to loopback, not " + formatEndpoint(to));
    const sockaddr_in destination = socketAddress(to);
    if (::sendto(fd_, bytes.data(), bytes.size(), 0,
            reinterpret_cast<const sockaddr *>(&destination), sizeof destination)
        != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error(
            "cannot send to " + formatEndpoint(to) + ": " + std::strerror(errno));
}

void LoopbackPeer::sendSearch(const Endpoint &carried)
{
    in_addr own {};
    own.s_addr = htonl(endpoint_.address);
    if (::setsockopt(fd_, IPPROTO_IP, IP_MULTICAST_IF, &own, sizeof own) != 0)
        throw std::runtime_error("cannot send the search on loopback");
    sendTo({ SearchGroup, SearchPort }, searchRequest(carried));
}

std::optional<Datagram> LoopbackPeer::receive(std::chrono::milliseconds timeout)
{
    pollfd wait { fd_, POLLIN, 0 };
    if (::poll(&wait, 1, static_cast<int>(timeout.count())) <= 0)
        return std::nullopt;
    Bytes buffer(2048);
    sockaddr_in sender {};
    socklen_t length = sizeof sender;
    const ssize_t size = ::recvfrom(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT,
        reinterpret_cast<sockaddr *>(&sender), &length);
    if (size < 0)
        return std::nullopt;
    buffer.resize(static_cast<std::size_t>(size));
    return Datagram { std::move(buffer),
        { ntohl(sender.sin_addr.s_addr), ntohs(sender.sin_port) } };
}

std::vector<Datagram> LoopbackPeer::drain()
{
    std::vector<Datagram> datagrams;
    while (auto datagram = receive(std::chrono::milliseconds(0)))
        datagrams.push_back(std::move(*datagram));
    return datagrams;
}

} // namespace arxsim
