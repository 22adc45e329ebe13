// libFuzzer target: the reply parser, reached the way the program reaches it, through
// Discovery::received, with the operator's actions interleaved.
//
// Input: one flags byte (bit 0: the search is on at the start), then records of
// [sender][length][length bytes]. A record of length 0 is an operator action chosen by the
// low three bits of its sender byte (the rest is its argument): 0 search button, 1 timer
// tick after (argument + 1) x 250 ms, 2 double click on processor row (argument - 1),
// 3 add processor, 4 double click on unit row (argument - 1). Any other record is a
// datagram from 198.51.100.<sender>; longer than 128 bytes, it is dropped like the
// transport drops it.

#include "FuzzRequire.h"
#include "model/Store.h"
#include "protocol/Address.h"
#include "protocol/Discovery.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

using namespace arx;

// Every frame the parser sends is an attach frame to a unit; the rest comes from actions.
class CheckingLink final : public Link {
public:
    bool send(const std::string &address, std::uint16_t port,
        std::span<const std::uint8_t> bytes) override
    {
        require(isDottedIPv4(address));
        require(!bytes.empty() && bytes.size() <= 64);
        require(port == 39030 || port == 39060 || port == 9000);
        return true;
    }
    void pause(int milliseconds) override { require(milliseconds == 10 || milliseconds == 100); }
};

class NullView final : public RoomObserver {
public:
    void unitShown(int slot) override { require(slot >= 0 && slot < UnitSlotCount); }
    void unitChanged(int slot, UnitFields) override { require(slot >= 0 && slot < UnitSlotCount); }
    void unitLevel(int slot) override { require(slot >= 0 && slot < UnitSlotCount); }
    void unitFreed(int slot) override { require(slot >= 0 && slot < UnitSlotCount); }
};

class NoPrompts final : public Prompts {
public:
    void message(const std::string &) override { }
    bool confirm(const std::string &) override { return true; }
    std::optional<std::string> openFileName(const std::string &, const std::string &) override
    {
        return {};
    }
    std::optional<std::string> saveFileName(const std::string &, const std::string &) override
    {
        return {};
    }
    std::optional<std::uint32_t> chooseColour(std::uint32_t) override { return {}; }
};

template <std::size_t Width> bool terminated(const char (&field)[Width])
{
    return std::memchr(field, '\0', Width) != nullptr;
}

void checkStore(const Store &store, const Discovery &discovery)
{
    for (const DeviceRecord &record : store.unitTable) {
        require(terminated(record.name) && terminated(record.code) && terminated(record.ip));
        require(record.levelIndex >= 0 && record.levelIndex < 4);
        for (const MicEqBand &band : record.eqBands) {
            require(band.frequency >= 20 && band.frequency <= 20000);
            require(band.q >= 1 && band.q <= 1000);
            require(band.gain <= 600);
        }
        require(record.eqLowCutFrequency >= 20 && record.eqLowCutFrequency <= 200);
        if (record.inUse)
            require(record.unitNumber >= 1 && record.unitNumber <= UnitSlotCount);
    }
    require(!(store.speaker.rdaConnected && store.speaker.rdaConnecting));
    const ProcessorListModel &processors = discovery.processorList();
    for (std::size_t row = 0; row < processors.rowCount(); ++row) {
        const std::string &status = processors.cell(row, ProcessorStatusColumn);
        require(status == ProcessorNotConnected || status == ProcessorConnected
            || status == ProcessorDisconnected);
        require(processors.cell(row, ProcessorNameColumn).size() <= 10);
        require(
            processors.findRow(ProcessorAddressColumn, processors.cell(row, ProcessorAddressColumn))
            == static_cast<int>(row));
    }
}

std::string senderAddress(std::uint8_t sender)
{
    return "198.51.100." + std::to_string(sender);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    Store store;
    SetDefaults(store);
    CheckingLink link;
    ManualClock clock;
    NoPrompts prompts;
    NullView view;
    Discovery discovery(store, link, clock, prompts, view,
        [] { return std::optional<std::string>("198.51.100.1"); });
    if (data[0] & 1)
        discovery.startSearch();

    std::size_t at = 1;
    while (at + 2 <= size) {
        const std::uint8_t sender = data[at];
        const std::size_t length = data[at + 1];
        at += 2;
        if (length == 0) {
            const int argument = sender >> 3;
            switch (sender & 7) {
            case 0:
                discovery.toggleSearch();
                break;
            case 1:
                clock.advance((argument + 1) * 250);
                discovery.tick();
                break;
            case 2:
                discovery.connectRow(argument - 1);
                break;
            case 3:
                discovery.addProcessor(senderAddress(static_cast<std::uint8_t>(argument)));
                break;
            default:
                discovery.unitRowActivated(argument - 1);
                break;
            }
        } else {
            const std::size_t available = std::min(length, size - at);
            if (available <= DatagramCapacity) {
                Datagram datagram;
                std::memcpy(datagram.bytes.data(), data + at, available);
                datagram.length = available;
                datagram.sender = senderAddress(sender);
                discovery.received(datagram);
            }
            at += available;
        }
        checkStore(store, discovery);
    }
    return 0;
}
