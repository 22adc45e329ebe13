#include "FrameLog.h"

#include <ctime>

namespace arxsim {

namespace {

std::string utcNow()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    tm parts {};
    gmtime_r(&now.tv_sec, &parts);
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &parts);
    std::snprintf(text + length, sizeof text - length, ".%03ldZ", now.tv_nsec / 1000000);
    return text;
}

} // namespace

void FrameLog::received(const Device &device, const Endpoint &from, const Endpoint &to,
    const Bytes &bytes, const std::string &meaning)
{
    write("in", device, from, to, bytes, meaning);
}

void FrameLog::sent(const Outgoing &outgoing, const Endpoint &from)
{
    write("out", outgoing.from, from, outgoing.to, outgoing.bytes, outgoing.meaning);
}

void FrameLog::write(const char *direction, const Device &device, const Endpoint &from,
    const Endpoint &to, const Bytes &bytes, const std::string &meaning)
{
    if (!out_)
        return;
    const std::string line = "{\"time\":\"" + utcNow() + "\",\"direction\":\"" + direction
        + "\",\"device\":\"" + device.label() + "\",\"from\":\"" + formatEndpoint(from)
        + "\",\"to\":\"" + formatEndpoint(to) + "\",\"hex\":\"" + toHex(bytes) + "\",\"meaning\":\""
        + jsonEscape(meaning) + "\"}\n";
    std::fputs(line.c_str(), out_);
    std::fflush(out_);
}

} // namespace arxsim
