#include "protocol/UdpTransport.h"

#include "protocol/DatagramReader.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <future>
#include <cstring>

namespace arx {

namespace {

bool toSocketAddress(const std::string &address, std::uint16_t port, sockaddr_in &out)
{
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    return inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1;
}

} // namespace

UdpTransport::UdpTransport() : stopEvent_(eventfd(0, EFD_CLOEXEC)) {}

UdpTransport::~UdpTransport()
{
    stop();
    if (stopEvent_ >= 0)
        ::close(stopEvent_);
}

bool UdpTransport::open(const std::string &bindAddress, std::uint16_t port)
{
    if (socket_ >= 0)
        return true;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in local{};
    if (bindAddress.empty()) {
        local.sin_family = AF_INET;
        local.sin_port = htons(port);
        local.sin_addr.s_addr = htonl(INADDR_ANY);
    } else if (!toSocketAddress(bindAddress, port, local)) {
        ::close(fd);
        return false;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0) {
        ::close(fd);
        return false;
    }
    socket_ = fd;
    return true;
}

bool UdpTransport::setMulticastInterface(const std::string &localAddress)
{
    in_addr interfaceAddress{};
    if (socket_ < 0 || inet_pton(AF_INET, localAddress.c_str(), &interfaceAddress) != 1)
        return false;
    return ::setsockopt(socket_, IPPROTO_IP, IP_MULTICAST_IF, &interfaceAddress,
                        sizeof interfaceAddress) == 0;
}

void UdpTransport::start(Deliver deliver)
{
    startBatches([deliver = std::move(deliver)](std::span<const Datagram> batch) {
        for (const Datagram &datagram : batch)
            deliver(datagram);
    });
}

void UdpTransport::startBatches(DeliverBatch deliver)
{
    if (socket_ < 0 || thread_.joinable() || stopEvent_ < 0)
        return;
    deliver_ = std::move(deliver);
    // The promise lives in the thread, so reporting its id never touches this frame.
    std::promise<int> threadId;
    std::future<int> reported = threadId.get_future();
    thread_ = std::thread([this, threadId = std::move(threadId)]() mutable {
        threadId.set_value(static_cast<int>(::syscall(SYS_gettid)));
        receiveLoop();
    });
    receiveThreadId_ = reported.get();
}

void UdpTransport::stop()
{
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(stopEvent_, &one, sizeof one);
        thread_.join();
        // Reading resets the eventfd, so that a transport opened and started again listens.
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t read = ::read(stopEvent_, &count, sizeof count);
    }
    if (socket_ >= 0) {
        ::close(socket_);
        socket_ = -1;
    }
}

void UdpTransport::receiveLoop()
{
    DatagramReader reader(socket_, ReceiveBatch);
    pollfd waits[2] = {{socket_, POLLIN, 0}, {stopEvent_, POLLIN, 0}};
    for (;;) {
        if (::poll(waits, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (waits[1].revents != 0)
            return;
        if (waits[0].revents == 0)
            continue;
        std::this_thread::sleep_for(GatherTime);
        // Read until the socket is empty; a pending socket error is taken with the read.
        for (;;) {
            const std::size_t read = reader.read();
            if (read > 0)
                deliverBatch(reader, read);
            if (read < ReceiveBatch)
                break;
        }
    }
}

void UdpTransport::deliverBatch(DatagramReader &reader, std::size_t read)
{
    // Empty and over-long datagrams are reported and left out; the others move up, in
    // order, so that the batch goes on in one piece.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < read; ++i) {
        Datagram &datagram = reader.datagram(i);
        const std::size_t wireLength = reader.wireLength(i);
        if (wireLength == 0 || wireLength > DatagramCapacity) {
            if (dropped_)
                dropped_(datagram, wireLength == 0 ? DropReason::Empty : DropReason::TooLong,
                    wireLength);
            continue;
        }
        if (kept != i)
            std::swap(reader.datagram(kept), datagram);
        ++kept;
    }
    if (kept > 0)
        deliver_(std::span<const Datagram>(&reader.datagram(0), kept));
}

int UdpTransport::sendDatagram(const std::string &address, std::uint16_t port,
                               std::span<const std::uint8_t> bytes)
{
    sockaddr_in destination{};
    int error = 0;
    if (socket_ < 0)
        error = EBADF;
    else if (!toSocketAddress(address, port, destination))
        error = EINVAL;
    else if (const ssize_t sent = ::sendto(socket_, bytes.data(), bytes.size(), 0,
                                           reinterpret_cast<const sockaddr *>(&destination),
                                           sizeof destination);
             sent < 0)
        error = errno;
    else if (static_cast<std::size_t>(sent) != bytes.size())
        error = EMSGSIZE;
    if (error != 0)
        ++sendErrors_;
    return error;
}

bool UdpTransport::send(const std::string &address, std::uint16_t port,
                        std::span<const std::uint8_t> bytes)
{
    return sendDatagram(address, port, bytes) == 0;
}

void UdpTransport::pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace arx
