#include "protocol/Discovery.h"

#include "protocol/Address.h"
#include "protocol/Ports.h"
#include "protocol/ReplyParser.h"
#include "protocol/Senders.h"

#include <vector>

namespace arx {

namespace {

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

void sendDetach(Link &link, const DeviceRecord &record)
{
    const std::string address(textOf(record.ip));
    switch (record.type) {
    case UnitTypeArn1:
    case UnitTypePxl2:
        SendAttach(link, address, 0);
        break;
    case UnitTypeVelK:
        SendAttach5(link, address, 0);
        break;
    default: // the short announcers (types 4 and 5) have never been detached
        break;
    }
}

} // namespace

Discovery::Discovery(Store &store, Link &link, const Clock &clock, Prompts &prompts,
    RoomObserver &announce, OwnAddressLookup ownAddress)
    : store_(store)
    , link_(link)
    , clock_(clock)
    , prompts_(prompts)
    , announce_(announce)
    , ownAddress_(std::move(ownAddress))
    , heardKnown_([this](const KnownAnnouncement &known) {
        const DeviceRecord &record = store_.unitTable.at(static_cast<std::size_t>(known.slot));
        identityChanged_ = identityChanged_ || textOf(record.name) != textOf(known.announced.name)
            || textOf(record.ip) != textOf(known.announced.ip)
            || record.type != known.announced.type;
        if (known_)
            known_(known);
    })
{
}

void Discovery::toggleSearch()
{
    if (store_.scanActive)
        stopSearch();
    else
        startSearch();
}

bool Discovery::startSearch(Confirm confirm)
{
    store_.scanActive = true;
    announce_.searchChanged(true);
    unitList_.clear();
    announce_.unitListChanged();

    const auto own = ownAddress();
    if (!own) {
        if (confirm == Confirm::Ask)
            prompts_.message(NoOwnAddressMessage);
        return false;
    }
    return sendSearchRequests(*own);
}

bool Discovery::repeatSearchRequest()
{
    if (!store_.scanActive)
        return false;
    const auto own = ownAddress();
    if (!own)
        return false;
    return sendSearchRequests(*own);
}

bool Discovery::sendSearchRequests(const std::string &own)
{
    // Sent twice in case the first is lost; units answer each time, which is harmless.
    const bool first = SendSearchRequest(link_, own);
    link_.pause(SearchRepeatPauseMs);
    const bool second = SendSearchRequest(link_, own);
    return first || second;
}

void Discovery::stopSearch()
{
    store_.scanActive = false;
    announce_.searchChanged(false);
    for (int slot = 0; slot < UnitSlotCount; ++slot) {
        DeviceRecord &record = store_.unitTable[slot];
        if (!record.inUse)
            continue;
        record.inUse = 0;
        sendDetach(link_, record);
        announce_.unitFreed(slot);
        setText(record.name, "");
        setText(record.code, "");
        setText(record.ip, "");
    }
    unitList_.clear();
    processorList_.clear();
    store_.speaker.rdaConnected = 0;
    announce_.unitListChanged();
    announce_.processorListChanged();
    announce_.connectionChanged();
}

Discovery::Received Discovery::received(const Datagram &datagram)
{
    Received outcome;
    identityChanged_ = false;
    for (const ReplyAction &action : HandleReply(
             store_, processorList_, link_, clock_, datagram, &outcome.dropped, heardKnown_)) {
        if (outcome.slot < 0)
            outcome.slot = action.slot;
        switch (action.kind) {
        case ReplyAction::RefreshUnitList: {
            const std::vector<UnitListModel::Row> before = unitList_.rows();
            std::vector<int> listed;
            RefreshUnitList(store_, unitList_, [&listed](int slot) { listed.push_back(slot); });
            // A known unit that announces itself as it was changes neither the list nor
            // its strip: the strips stay as the operator left them (a closed one closed, a
            // COPY source chosen), and a repeated search request's 128 answers cost little.
            if (unitList_.rows() == before && !identityChanged_)
                break;
            announce_.unitListChanged();
            for (int slot : listed)
                announce_.unitShown(slot);
            break;
        }
        case ReplyAction::RefreshStrip:
            announce_.unitChanged(action.slot, action.fields);
            break;
        case ReplyAction::UpdateMeter:
            announce_.unitLevel(action.slot);
            break;
        case ReplyAction::RefreshProcessorList:
            announce_.processorListChanged();
            break;
        case ReplyAction::ProcessorConnected:
            announce_.connectionChanged();
            break;
        }
    }
    return outcome;
}

void Discovery::unitRowActivated(int row)
{
    if (row < 0)
        return;
    const int slot = slotOfUnitRow(unitList_, static_cast<std::size_t>(row));
    if (slot >= 0)
        announce_.unitShown(slot);
}

bool Discovery::addProcessor(const std::string &address)
{
    const std::string text = trimmed(address);
    if (!isDottedIPv4(text)) {
        prompts_.message("\"" + address
            + "\" is not an IPv4 address. Enter the processor's address as four "
              "numbers from 0 to 255 separated by dots, such as 192.168.0.106.");
        return false;
    }
    if (processorList_.findRow(ProcessorAddressColumn, text) >= 0)
        return false;
    processorList_.appendRow({ text, "", std::to_string(ProcessorPort), ProcessorNotConnected });
    announce_.processorListChanged();
    return true;
}

bool Discovery::connectTo(const std::string &address, Confirm confirm)
{
    if (!isDottedIPv4(address))
        return false;
    int row = processorList_.findRow(ProcessorAddressColumn, address);
    if (row < 0) {
        processorList_.appendRow(
            { address, "", std::to_string(ProcessorPort), ProcessorNotConnected });
        announce_.processorListChanged();
        row = static_cast<int>(processorList_.rowCount()) - 1;
    }
    return connectRow(row, confirm);
}

bool Discovery::connectRow(int row, Confirm confirm)
{
    if (row < 0 || static_cast<std::size_t>(row) >= processorList_.rowCount())
        return false;
    const std::string address = processorList_.cell(row, ProcessorAddressColumn);
    SpeakerStore &speaker = store_.speaker;
    if (speaker.rdaConnected && address == store_.rdaAddress)
        return true;
    const auto own = ownAddress();
    if (!own) {
        if (confirm == Confirm::Ask)
            prompts_.message(NoOwnAddressMessage);
        return false;
    }

    if (speaker.rdaConnected) {
        const int connectedRow = processorList_.findRow(ProcessorAddressColumn, store_.rdaAddress);
        if (connectedRow >= 0)
            processorList_.setCell(connectedRow, ProcessorStatusColumn, ProcessorDisconnected);
        announce_.processorListChanged();
    }
    speaker.rdaConnected = 0;
    speaker.rdaConnecting = 1;
    speaker.rdaRetryCount = 0;
    store_.rdaAddress = address;
    SendConnectRequest(link_, store_, *own);
    speaker.rdaRequestTime = clock_.monotonicMs();
    attemptTold_ = confirm == Confirm::Ask;
    // Only the window's own attempt moves it to the speaker's page.
    if (attemptTold_)
        announce_.connectionStarted();
    else
        announce_.connectionChanged();
    return true;
}

void Discovery::showProcessorName(const std::string &name)
{
    const int row = processorList_.findRow(ProcessorAddressColumn, store_.rdaAddress);
    if (row < 0)
        return;
    processorList_.setCell(row, ProcessorNameColumn, name);
    announce_.processorListChanged();
}

void Discovery::tick()
{
    SpeakerStore &speaker = store_.speaker;
    if (!speaker.rdaConnecting)
        return;
    const std::int64_t now = clock_.monotonicMs();
    if (now - speaker.rdaRequestTime < ConnectRetryMs)
        return;
    speaker.rdaRequestTime = now;
    ++speaker.rdaRetryCount;
    if (speaker.rdaRetryCount < ConnectRequestCount) {
        if (const auto own = ownAddress())
            SendConnectRequest(link_, store_, *own);
        return;
    }
    // Giving up releases the search button but leaves the search as it is, as it always
    // has: the next press of the button then stops the search.
    speaker.rdaConnecting = 0;
    announce_.searchChanged(false);
    announce_.connectionChanged();
    if (attemptTold_)
        prompts_.message(CannotConnectMessage);
}

std::optional<std::string> Discovery::ownAddress() const
{
    auto own = ownAddress_ ? ownAddress_() : std::nullopt;
    if (own && !isDottedIPv4(*own))
        return std::nullopt;
    return own;
}

} // namespace arx
