#pragma once

#include "model/RoomObserver.h"
#include "model/Store.h"
#include "protocol/Datagram.h"
#include "protocol/DropReason.h"
#include "protocol/ProcessorList.h"
#include "protocol/ReplyParser.h"
#include "protocol/UnitList.h"
#include "seams/Clock.h"
#include "seams/Link.h"
#include "seams/Prompts.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace arx {

// Looks up the address that the search and connection requests carry, at each request.
using OwnAddressLookup = std::function<std::optional<std::string>()>;

constexpr int SearchRepeatPauseMs = 100;
constexpr std::int64_t ConnectRetryMs = 5000;
constexpr int ConnectRequestCount = 3;

constexpr const char *CannotConnectMessage = "CANNOT CONNECT.";
constexpr const char *NoOwnAddressMessage
    = "No IPv4 address of this computer was found, so the devices cannot be told where to "
      "answer and nothing was sent. Check the network connection, or start ARX with "
      "--interface ADDRESS.";

// The search for units, the unit and processor lists, and the connection to a processor.
// Runs on the user-interface thread; every received datagram comes through `received`, and
// everything that changes is announced to `announce`.
class Discovery {
public:
    Discovery(Store &store, Link &link, const Clock &clock, Prompts &prompts,
        RoomObserver &announce, OwnAddressLookup ownAddress);

    const UnitListModel &unitList() const { return unitList_; }
    const ProcessorListModel &processorList() const { return processorList_; }

    // The search button: starts the search when it is off, stops it when it is on.
    void toggleSearch();
    // False when no address of this computer was found to carry, so no request went out
    // (the search is on all the same); the operator is told unless `confirm` is Given.
    bool startSearch(Confirm confirm = Confirm::Ask);
    void stopSearch();
    // The search request again, twice and 100 ms apart as at the start, while the search is
    // on; nothing else changes. False when no request went out: the search is off, this
    // computer has no address to carry, or the link refused both (nobody is told here).
    bool repeatSearchRequest();

    // Hears every known unit's announcement before the parser rewrites its identity.
    void setKnownAnnouncementListener(KnownAnnouncementListener listener)
    {
        known_ = std::move(listener);
    }

    // What became of a datagram: why it was dropped (DropReason::None when it was taken),
    // and the slot of the unit it changed, if any.
    struct Received {
        DropReason dropped = DropReason::None;
        int slot = -1;
    };
    Received received(const Datagram &datagram);

    // A double click on a unit row shows that unit's strip; -1 (no row) does nothing.
    void unitRowActivated(int row);

    // Lists a processor by its dotted IPv4 address. Anything else is refused with a message
    // and changes nothing. False when nothing was added (refused, or already listed).
    bool addProcessor(const std::string &address);

    // A double click on a processor row starts a connection to it; -1 (no row) does nothing.
    void connectRow(int row) { connectRow(row, Confirm::Ask); }

    // A connection to the processor at a dotted IPv4 address, listed first if it is not.
    // With Confirm::Given (a command) nothing is shown: no page is switched to, and neither
    // a missing own address nor giving up is told in a message. False when no request could
    // be sent for want of an own address; true also when that processor is already connected.
    bool connectTo(const std::string &address, Confirm confirm);

    // The processor at rdaAddress was given a new name (GBK bytes): its row shows it.
    void showProcessorName(const std::string &name);

    // Ticked well below every 5 s: repeats the connection request every 5 s while an attempt
    // lasts, and gives up after the third.
    void tick();

private:
    // The address the requests carry, or nothing when this computer has none.
    std::optional<std::string> ownAddress() const;
    bool connectRow(int row, Confirm confirm);
    // True when the link took at least one of the two.
    bool sendSearchRequests(const std::string &own);

    Store &store_;
    Link &link_;
    const Clock &clock_;
    Prompts &prompts_;
    RoomObserver &announce_;
    OwnAddressLookup ownAddress_;
    KnownAnnouncementListener known_;
    // Hears every known unit's announcement first: notes whether its identity changes.
    KnownAnnouncementListener heardKnown_;
    bool identityChanged_ = false; // by the datagram being handled
    UnitListModel unitList_;
    ProcessorListModel processorList_;
    // The attempt under way tells the operator when it gives up (one started by the window).
    bool attemptTold_ = true;
};

} // namespace arx
