#pragma once

#include "Room.h"

#include <cstdio>

namespace arxsim {

// Writes every frame received and sent as one JSON object per line:
// {"time":"2025-01-31T12:00:00.123Z","direction":"in","device":"unit 1",
//  "from":"127.0.0.1:39030","to":"127.0.0.10:39030","hex":"25460123","meaning":"attach"}
class FrameLog {
public:
    // Logs to `out`; nullptr logs nothing.
    explicit FrameLog(std::FILE *out)
        : out_(out)
    {
    }

    void received(const Device &device, const Endpoint &from, const Endpoint &to,
        const Bytes &bytes, const std::string &meaning);
    void sent(const Outgoing &outgoing, const Endpoint &from);

private:
    void write(const char *direction, const Device &device, const Endpoint &from,
        const Endpoint &to, const Bytes &bytes, const std::string &meaning);

    std::FILE *out_;
};

} // namespace arxsim
