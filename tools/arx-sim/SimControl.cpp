#include "SimControl.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace arxsim {

namespace {

std::vector<Bytes> framesOf(const ControlReply &reply)
{
    std::vector<Bytes> frames;
    for (const std::string &hex : reply.list("frames")) {
        const auto bytes = fromHex(hex);
        if (!bytes)
            throw std::runtime_error("arx-sim sent a frame that is not hex: " + hex);
        frames.push_back(*bytes);
    }
    return frames;
}

const char *onOff(bool on)
{
    return on ? "on" : "off";
}

} // namespace

const std::string &ControlReply::text(const std::string &key) const
{
    const auto found = fields.find(key);
    if (found == fields.end())
        throw std::runtime_error("arx-sim's reply has no field \"" + key + "\"");
    return found->second;
}

int ControlReply::number(const std::string &key) const
{
    return std::stoi(text(key));
}

std::uint64_t ControlReply::counter(const std::string &key) const
{
    return std::stoull(text(key));
}

std::vector<std::string> ControlReply::list(const std::string &key) const
{
    std::vector<std::string> items;
    std::istringstream stream(text(key));
    for (std::string item; std::getline(stream, item, ',');)
        items.push_back(item);
    return items;
}

ControlReply ControlReply::parse(const std::string &line)
{
    ControlReply reply;
    if (line.starts_with("error")) {
        reply.error = line.size() > 6 ? line.substr(6) : "error";
        return reply;
    }
    std::istringstream stream(line);
    std::string word;
    stream >> word;
    reply.ok = word == "ok";
    if (!reply.ok) {
        reply.error = "not a reply of arx-sim: " + line;
        return reply;
    }
    while (stream >> word) {
        const std::size_t equals = word.find('=');
        if (equals != std::string::npos)
            reply.fields[word.substr(0, equals)] = word.substr(equals + 1);
    }
    return reply;
}

SimControl::SimControl(const Endpoint &control)
    : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(control.port);
    address.sin_addr.s_addr = htonl(control.address);
    if (fd_ < 0
        || ::connect(fd_, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        const std::string why = std::strerror(errno);
        if (fd_ >= 0)
            ::close(fd_);
        throw std::runtime_error(
            "cannot reach arx-sim's control channel at " + formatEndpoint(control) + ": " + why);
    }
}

SimControl::~SimControl()
{
    ::close(fd_);
}

std::string SimControl::request(const std::string &line)
{
    const std::string out = line + "\n";
    for (std::size_t sent = 0; sent < out.size();) {
        const ssize_t n = ::send(fd_, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            throw std::runtime_error("arx-sim's control channel closed while sending");
        sent += static_cast<std::size_t>(n);
    }
    std::size_t end;
    while ((end = pending_.find('\n')) == std::string::npos) {
        char buffer[4096];
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n <= 0)
            throw std::runtime_error(
                "arx-sim's control channel closed before replying to \"" + line + "\"");
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
    std::string reply = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return reply;
}

ControlReply SimControl::expectOk(const std::string &line)
{
    ControlReply reply = command(line);
    if (!reply.ok)
        throw std::runtime_error("arx-sim refused \"" + line + "\": " + reply.error);
    return reply;
}

std::vector<Bytes> SimControl::unitFrames(int number)
{
    return framesOf(expectOk("unit " + std::to_string(number) + " frames"));
}

bool SimControl::unitsAttached(int count)
{
    for (int number = 1; number <= count; ++number) {
        if (unit(number).text("attached") != "1")
            return false;
    }
    return true;
}

std::vector<Bytes> SimControl::unitSettingFrames(int number)
{
    std::vector<Bytes> frames = unitFrames(number);
    std::erase_if(frames, [](const Bytes &frame) {
        return frame.size() > 1 && (frame[1] == 'F' || frame[1] == 'K');
    });
    return frames;
}

std::vector<Bytes> SimControl::processorFrames()
{
    return framesOf(expectOk("processor frames"));
}

int SimControl::announce(int number)
{
    return expectOk("announce " + std::to_string(number)).number("sent");
}

int SimControl::announceAll()
{
    return expectOk("announce all").number("sent");
}

void SimControl::rename(int number, const std::string &nameBytes)
{
    std::string line = "rename " + std::to_string(number);
    if (!nameBytes.empty())
        line += " " + percentEscape(nameBytes);
    expectOk(line);
}

void SimControl::move(int number, const std::string &address)
{
    expectOk("move " + std::to_string(number) + " " + address);
}

void SimControl::setType(int number, int type)
{
    expectOk("type " + std::to_string(number) + " " + std::to_string(type));
}

void SimControl::setSilent(int number, bool silent)
{
    expectOk("silent " + std::to_string(number) + " " + onOff(silent));
}

bool SimControl::setSetting(int number, const std::string &field, int value, bool quiet)
{
    return expectOk("set " + std::to_string(number) + " " + field + " " + std::to_string(value)
               + (quiet ? " quiet" : ""))
               .number("reported")
        == 1;
}

void SimControl::setProcessorIgnoring(bool ignore)
{
    expectOk(std::string("processor ignore ") + onOff(ignore));
}

void SimControl::setProcessorSilent(bool silent)
{
    expectOk(std::string("processor silent ") + onOff(silent));
}

bool SimControl::waitUntil(
    const std::function<bool(SimControl &)> &check, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!check(*this)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace arxsim
