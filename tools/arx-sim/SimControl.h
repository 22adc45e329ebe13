#pragma once

#include "Ipv4.h"
#include "Text.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace arxsim {

// One reply of the control channel: "ok key=value ..." or "error message".
struct ControlReply {
    bool ok = false;
    std::string error;
    std::map<std::string, std::string> fields;

    bool has(const std::string &key) const { return fields.count(key) != 0; }
    // The field's text; throws std::runtime_error when the reply lacks it.
    const std::string &text(const std::string &key) const;
    int number(const std::string &key) const;
    // A count that may outgrow an int, such as the datagrams of a load test.
    std::uint64_t counter(const std::string &key) const;
    // A comma-separated field, split.
    std::vector<std::string> list(const std::string &key) const;

    static ControlReply parse(const std::string &line);
};

// A client of arx-sim's control channel, for tests. Every call is one command line and one
// reply line. Helpers that change the room throw std::runtime_error when the emulator refuses.
class SimControl {
public:
    explicit SimControl(const Endpoint &control);
    ~SimControl();
    SimControl(const SimControl &) = delete;
    SimControl &operator=(const SimControl &) = delete;

    // The reply line as it came, without its newline.
    std::string request(const std::string &line);
    ControlReply command(const std::string &line) { return ControlReply::parse(request(line)); }
    // As command(), but an "error" reply throws.
    ControlReply expectOk(const std::string &line);

    ControlReply list() { return expectOk("list"); }
    // Datagrams moved so far: searches, received, sent, levelReports, failed.
    ControlReply stats() { return expectOk("stats"); }
    ControlReply unit(int number) { return expectOk("unit " + std::to_string(number)); }
    // Whether units 1..count have each been attached by their controller.
    bool unitsAttached(int count);
    std::vector<Bytes> unitFrames(int number);
    // As unitFrames, without the attach frames ('F', 'K'): they answer every search request,
    // so a search's second request may bring one after a test has begun.
    std::vector<Bytes> unitSettingFrames(int number);
    ControlReply processor() { return expectOk("processor"); }
    std::vector<Bytes> processorFrames();

    // Returns how many announcements went out.
    int announce(int number);
    int announceAll();
    void rename(int number, const std::string &nameBytes);
    void move(int number, const std::string &address);
    void setType(int number, int type);
    void setSilent(int number, bool silent);
    // Changes a setting as if on the unit itself; true when it reported it to its controller.
    // A quiet change is not reported.
    bool setSetting(int number, const std::string &field, int value, bool quiet = false);
    void setProcessorIgnoring(bool ignore);
    void setProcessorSilent(bool silent);
    void clear() { expectOk("clear"); }
    void quit() { expectOk("quit"); }

    // Asks `check` every 10 ms until it holds or `timeout` has passed; the last answer.
    bool waitUntil(const std::function<bool(SimControl &)> &check,
        std::chrono::milliseconds timeout = std::chrono::seconds(5));

private:
    int fd_ = -1;
    std::string pending_;
};

} // namespace arxsim
