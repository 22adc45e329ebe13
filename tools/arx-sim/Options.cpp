#include "Options.h"

#include "Wire.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace arxsim {

namespace {

constexpr int DefaultUnitCount = 8;
constexpr double MaxLevelRate = 100000;
constexpr Ipv4 DefaultControlAddress = 0x7F000001; // 127.0.0.1

struct BadOption {
    std::string message;
};

std::optional<long> parseWhole(const std::string &text)
{
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string refusal(const std::string &option, const std::string &address)
{
    return "refusing " + option + " " + address
        + ": arx-sim only uses loopback addresses (127.0.0.0/8), so that nothing it sends "
          "reaches a real network";
}

std::vector<int> defaultMix(long count)
{
    std::vector<int> types;
    for (long i = 0; i < count; ++i)
        types.push_back(FirstUnitType + static_cast<int>(i % LastUnitType));
    return types;
}

std::vector<int> parseUnits(const std::string &text)
{
    const std::string what = "--units needs a count or a list of types 1 to 5 such as 1,1,2,3,4,5";
    if (text.find(',') == std::string::npos) {
        const auto count = parseWhole(text);
        if (!count || *count < 0 || *count > MaxUnits)
            throw BadOption { what + ", and at most " + std::to_string(MaxUnits) + " units" };
        return defaultMix(*count);
    }
    std::vector<int> types;
    std::istringstream stream(text);
    for (std::string item; std::getline(stream, item, ',');) {
        const auto type = parseWhole(item);
        if (!type || *type < FirstUnitType || *type > LastUnitType)
            throw BadOption { what + "; \"" + item + "\" is not a type" };
        types.push_back(static_cast<int>(*type));
    }
    if (types.size() > static_cast<std::size_t>(MaxUnits))
        throw BadOption { "--units: at most " + std::to_string(MaxUnits) + " units fit a subnet" };
    return types;
}

Ipv4 parseSubnet(const std::string &text)
{
    const auto address = parseIpv4(text);
    if (!address)
        throw BadOption { "--subnet needs a dotted /24 base such as 127.0.5.0, not \"" + text
            + "\"" };
    if (!isLoopback(*address))
        throw BadOption { refusal("--subnet", text) };
    if ((*address & 0xFF) != 0)
        throw BadOption { "--subnet needs the /24 base address, ending in .0, such as "
            + formatIpv4(subnetOf(*address)) };
    return *address;
}

Endpoint parseControl(const std::string &text)
{
    if (text.find(':') == std::string::npos) {
        const auto port = parseWhole(text);
        if (!port || *port < 0 || *port > 65535)
            throw BadOption { "--control needs [ADDRESS:]PORT, not \"" + text + "\"" };
        return { DefaultControlAddress, static_cast<std::uint16_t>(*port) };
    }
    const auto endpoint = parseEndpoint(text);
    if (!endpoint)
        throw BadOption { "--control needs [ADDRESS:]PORT, not \"" + text + "\"" };
    if (!isLoopback(endpoint->address))
        throw BadOption { refusal("--control", text) };
    return *endpoint;
}

double parseLevelRate(const std::string &text)
{
    double rate = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), rate);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()
        || !std::isfinite(rate) || rate < 0 || rate > MaxLevelRate)
        throw BadOption { "--level-rate needs a number of reports per second from 0 to 100000, "
                          "not \""
            + text + "\"" };
    return rate;
}

} // namespace

std::variant<Options, std::string> parseOptions(const std::vector<std::string> &arguments)
{
    Options options;
    options.room.unitTypes = defaultMix(DefaultUnitCount);
    try {
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            const std::string &option = arguments[i];
            auto value = [&]() -> const std::string & {
                if (i + 1 >= arguments.size())
                    throw BadOption { option + " needs a value" };
                return arguments[++i];
            };
            if (option == "--help" || option == "-h") {
                options.help = true;
            } else if (option == "--version") {
                options.version = true;
            } else if (option == "--quiet") {
                options.quiet = true;
            } else if (option == "--no-processor") {
                options.room.processor = false;
            } else if (option == "--units") {
                options.room.unitTypes = parseUnits(value());
            } else if (option == "--subnet") {
                options.room.subnet = parseSubnet(value());
            } else if (option == "--level-rate") {
                options.room.levelRate = parseLevelRate(value());
            } else if (option == "--control") {
                options.control = parseControl(value());
            } else if (option == "--ready-fd") {
                const std::string &text = value();
                const auto fd = parseWhole(text);
                if (!fd || *fd < 0 || *fd > 65535)
                    throw BadOption { "--ready-fd needs a file descriptor number, not \"" + text
                        + "\"" };
                options.readyFd = static_cast<int>(*fd);
            } else {
                throw BadOption { "unknown option \"" + option + "\"; see --help" };
            }
        }
    } catch (const BadOption &bad) {
        return bad.message;
    }
    return options;
}

std::string usageText()
{
    return R"(Usage: arx-sim [OPTIONS]

A room of simulated microphone units and a loudspeaker processor on loopback addresses,
for running and testing ARX without hardware.

  --subnet 127.A.B.0     the loopback /24 the room lives on (default 127.0.0.0); units at
                         .10 upwards, the processor at .200; only a search request that
                         carries an address of this subnet is answered
  --units LIST|COUNT     unit types 1..5 as a list (1,1,2,3,4,5; one unit: 3,) or a count
                         of units of every family in turn (default 8)
  --no-processor         no loudspeaker processor
  --level-rate R         level reports per second of each attached unit (default 10;
                         0 for none)
  --control [ADDR:]PORT  control channel: TCP, one command a line, on a loopback address
                         (default 127.0.0.1); port 0 takes any free port
  --ready-fd FD          once every socket is open, write "ready control=ADDR:PORT" (or
                         "ready control=none") and a newline to FD and close it
  --quiet                no JSON log of the frames on standard output
  --help, --version

Unit types: 1 ARN1, 4 ARN1 without colours, 2 VEL-K, 5 VEL-K without colours, 3 PXL2.
)";
}

} // namespace arxsim
