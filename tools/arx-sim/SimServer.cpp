#include "SimServer.h"

#include "Wire.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace arxsim {

namespace {

// Longer than any frame of the installation; anything longer is cut and logged as it came.
constexpr std::size_t ReceiveBuffer = 2048;
// A control line longer than this is not a command; the client is dropped.
constexpr std::size_t MaxControlLine = 65536;

sockaddr_in socketAddress(const Endpoint &endpoint)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(endpoint.port);
    address.sin_addr.s_addr = htonl(endpoint.address);
    return address;
}

Endpoint endpointFrom(const sockaddr_in &address)
{
    return { ntohl(address.sin_addr.s_addr), ntohs(address.sin_port) };
}

std::string failure(const std::string &what, const Endpoint &where)
{
    return what + " " + formatEndpoint(where) + ": " + std::strerror(errno);
}

int openDatagram(const Endpoint &local, std::string &error)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = failure("cannot open a socket for", local);
        return -1;
    }
    const sockaddr_in address = socketAddress(local);
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        error = failure("cannot bind", local);
        ::close(fd);
        return -1;
    }
    return fd;
}

// Bound to the group itself, so that only the search reaches it; several rooms side by side
// each get their own copy.
int openSearchSocket(std::string &error)
{
    const Endpoint group { SearchGroup, SearchPort };
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    const int off = 0;
    if (fd < 0 || ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
        error = failure("cannot open a socket for", group);
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    const sockaddr_in address = socketAddress(group);
    ip_mreq membership {};
    membership.imr_multiaddr.s_addr = htonl(SearchGroup);
    membership.imr_interface.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof membership) != 0
        || ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_ALL, &off, sizeof off) != 0) {
        error = failure("cannot join the search group on loopback at", group);
        ::close(fd);
        return -1;
    }
    return fd;
}

int openControl(const Endpoint &local, std::string &error)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (fd < 0 || ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
        error = failure("cannot open the control channel on", local);
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    const sockaddr_in address = socketAddress(local);
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::listen(fd, 8) != 0) {
        error = failure("cannot listen for control on", local);
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<Endpoint> boundEndpoint(int fd)
{
    sockaddr_in address {};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return std::nullopt;
    return endpointFrom(address);
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

SimServer::SimServer(Room &room, FrameLog &log)
    : room_(room)
    , log_(log)
    , start_(std::chrono::steady_clock::now())
{
}

SimServer::~SimServer()
{
    closeFd(searchFd_);
    for (int &fd : unitFds_)
        closeFd(fd);
    closeFd(processorFd_);
    closeFd(controlFd_);
    closeFd(signalFd_);
    for (ControlClient &client : clients_)
        closeFd(client.fd);
}

std::optional<std::string> SimServer::open(const std::optional<Endpoint> &control)
{
    std::string error;
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    signalFd_ = ::signalfd(-1, &stopSignals, SFD_CLOEXEC);
    // A control client that goes away mid-reply must not end the emulator.
    std::signal(SIGPIPE, SIG_IGN);

    if ((searchFd_ = openSearchSocket(error)) < 0)
        return error;
    for (const SimUnit &unit : room_.units()) {
        const int fd = openDatagram({ unit.address, UnitPort }, error);
        if (fd < 0)
            return error;
        unitFds_.push_back(fd);
    }
    if (const SimProcessor *processor = room_.processor()) {
        if ((processorFd_ = openDatagram({ processor->address, ProcessorPort }, error)) < 0)
            return error;
    }
    if (control) {
        if ((controlFd_ = openControl(*control, error)) < 0)
            return error;
        controlEndpoint_ = boundEndpoint(controlFd_);
    }
    return std::nullopt;
}

double SimServer::elapsedSeconds() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void SimServer::run()
{
    std::vector<pollfd> fds;
    while (running_) {
        fds.clear();
        fds.push_back({ signalFd_, POLLIN, 0 });
        fds.push_back({ searchFd_, POLLIN, 0 });
        fds.push_back({ processorFd_, POLLIN, 0 });
        fds.push_back({ controlFd_, POLLIN, 0 });
        for (int fd : unitFds_)
            fds.push_back({ fd, POLLIN, 0 });
        for (const ControlClient &client : clients_)
            fds.push_back({ client.fd, POLLIN, 0 });

        timespec wait {};
        const timespec *timeout = nullptr;
        if (const auto due = room_.nextLevelTime()) {
            const double seconds = std::max(0.0, *due - elapsedSeconds());
            wait.tv_sec = static_cast<time_t>(seconds);
            wait.tv_nsec = static_cast<long>((seconds - static_cast<double>(wait.tv_sec)) * 1e9);
            timeout = &wait;
        }
        if (::ppoll(fds.data(), fds.size(), timeout, nullptr) < 0 && errno != EINTR)
            break;

        if (fds[0].revents & POLLIN)
            break;
        if (fds[1].revents & POLLIN)
            receiveSearch();
        if (fds[2].revents & POLLIN)
            receiveProcessor();
        if (fds[3].revents & POLLIN)
            acceptControl();
        std::size_t at = 4;
        for (std::size_t unit = 0; unit < unitFds_.size(); ++unit, ++at) {
            if (fds[at].revents & POLLIN)
                receiveUnit(static_cast<int>(unit));
        }
        // Clients are served last, so that a reply reflects every datagram already in. Only
        // those polled: a client accepted above has no entry in `fds` yet.
        std::vector<int> gone;
        for (std::size_t client = 0; at < fds.size(); ++client, ++at) {
            if (fds[at].revents & (POLLIN | POLLHUP | POLLERR)) {
                if (!serveControl(clients_[client]))
                    gone.push_back(clients_[client].fd);
            }
        }
        std::erase_if(clients_, [&](ControlClient &client) {
            if (std::find(gone.begin(), gone.end(), client.fd) == gone.end())
                return false;
            closeFd(client.fd);
            return true;
        });
        traffic_.levelReports += sendAll(room_.levelReportsDue(elapsedSeconds()));
    }
}

namespace {

// One datagram: its bytes and who sent it; nullopt when nothing could be read.
std::optional<std::pair<Bytes, Endpoint>> receiveDatagram(int fd)
{
    Bytes buffer(ReceiveBuffer);
    sockaddr_in sender {};
    socklen_t length = sizeof sender;
    const ssize_t size = ::recvfrom(fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
        reinterpret_cast<sockaddr *>(&sender), &length);
    if (size < 0)
        return std::nullopt;
    buffer.resize(std::min(static_cast<std::size_t>(size), buffer.size()));
    return std::make_pair(std::move(buffer), endpointFrom(sender));
}

} // namespace

void SimServer::receiveSearch()
{
    // Everything waiting is taken, so that a control reply sees every datagram sent before it.
    while (const auto datagram = receiveDatagram(searchFd_)) {
        ++traffic_.searches;
        const auto &[bytes, from] = *datagram;
        const Reaction reaction = room_.onSearch(bytes, from);
        log_.received(
            { Device::Search }, from, { SearchGroup, SearchPort }, bytes, reaction.meaning);
        sendAll(reaction.sends);
    }
}

void SimServer::receiveUnit(int unit)
{
    // Everything waiting is taken, so that a control reply sees every datagram sent before it.
    while (const auto datagram = receiveDatagram(unitFds_[unit])) {
        ++traffic_.received;
        const auto &[bytes, from] = *datagram;
        const Device device { Device::Unit, unit };
        const Endpoint to = endpointOf(device);
        const Reaction reaction = room_.onUnitFrame(unit, bytes, from);
        log_.received(device, from, to, bytes, reaction.meaning);
        sendAll(reaction.sends);
    }
}

void SimServer::receiveProcessor()
{
    // Everything waiting is taken, so that a control reply sees every datagram sent before it.
    while (const auto datagram = receiveDatagram(processorFd_)) {
        ++traffic_.received;
        const auto &[bytes, from] = *datagram;
        const Reaction reaction = room_.onProcessorFrame(bytes, from);
        log_.received({ Device::Processor }, from, endpointOf({ Device::Processor }), bytes,
            reaction.meaning);
        sendAll(reaction.sends);
    }
}

void SimServer::acceptControl()
{
    const int fd = ::accept4(controlFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0)
        clients_.push_back({ fd, {} });
}

bool SimServer::serveControl(ControlClient &client)
{
    char buffer[4096];
    const ssize_t size = ::recv(client.fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (size == 0 || (size < 0 && errno != EAGAIN && errno != EINTR))
        return false;
    if (size > 0)
        client.input.append(buffer, static_cast<std::size_t>(size));
    for (std::size_t end; (end = client.input.find('\n')) != std::string::npos;) {
        std::string line = client.input.substr(0, end);
        client.input.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string reply = executeControl(line, room_, *this) + "\n";
        // Replies are short and the client waits for them, so a blocking send is fine.
        for (std::size_t sent = 0; sent < reply.size();) {
            const ssize_t n
                = ::send(client.fd, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += static_cast<std::size_t>(n);
        }
    }
    return client.input.size() <= MaxControlLine;
}

std::uint64_t SimServer::sendAll(const std::vector<Outgoing> &sends)
{
    std::uint64_t taken = 0;
    for (const Outgoing &outgoing : sends)
        taken += transmit(outgoing) ? 1 : 0;
    return taken;
}

void SimServer::send(const Outgoing &outgoing)
{
    transmit(outgoing);
}

bool SimServer::transmit(const Outgoing &outgoing)
{
    const Endpoint from = endpointOf(outgoing.from);
    if (!isLoopback(outgoing.to.address)) {
        std::fprintf(stderr, "arx-sim: refusing to send to %s: not a loopback address\n",
            formatEndpoint(outgoing.to).c_str());
        return false;
    }
    const sockaddr_in to = socketAddress(outgoing.to);
    const ssize_t sent = ::sendto(socketOf(outgoing.from), outgoing.bytes.data(),
        outgoing.bytes.size(), 0, reinterpret_cast<const sockaddr *>(&to), sizeof to);
    log_.sent(outgoing, from);
    if (sent != static_cast<ssize_t>(outgoing.bytes.size())) {
        ++traffic_.failed;
        return false;
    }
    ++traffic_.sent;
    return true;
}

std::optional<std::string> SimServer::rebindUnit(int unit, Ipv4 address)
{
    std::string error;
    const int fd = openDatagram({ address, UnitPort }, error);
    if (fd < 0)
        return error;
    closeFd(unitFds_[unit]);
    unitFds_[unit] = fd;
    return std::nullopt;
}

int SimServer::socketOf(const Device &device) const
{
    return device.kind == Device::Unit ? unitFds_[device.unit] : processorFd_;
}

Endpoint SimServer::endpointOf(const Device &device) const
{
    switch (device.kind) {
    case Device::Unit:
        return { room_.units()[device.unit].address, UnitPort };
    case Device::Processor:
        return { room_.processor()->address, ProcessorPort };
    case Device::Search:
        break;
    }
    return { SearchGroup, SearchPort };
}

} // namespace arxsim
