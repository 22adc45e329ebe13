#pragma once

#include "model/RoomObserver.h"
#include "model/Store.h"
#include "protocol/Datagram.h"
#include "protocol/DropReason.h"
#include "protocol/ProcessorList.h"
#include "seams/Clock.h"
#include "seams/Link.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace arx {

// What the windows must do after a datagram, in this order.
struct ReplyAction {
    enum Kind {
        RefreshUnitList, // rebuild the unit list (RefreshUnitList), which shows strips
        RefreshStrip, // refresh the strip of `slot`, if that strip is shown
        UpdateMeter, // update the meter of `slot`'s strip, if that strip is shown
        RefreshProcessorList, // the processor list changed
        ProcessorConnected, // the processor at rdaAddress acknowledged the connection
    };
    Kind kind;
    int slot = -1;
    UnitFields fields = {}; // RefreshStrip: what changed in the record

    friend bool operator==(const ReplyAction &, const ReplyAction &) = default;
};
using ReplyActions = std::vector<ReplyAction>;

// A known unit's announcement as the parser reads it, with its own conversions and clamps,
// before it rewrites the unit's name, address and type. `announced` holds the announced name,
// the sender's address, the type and every field the variant carries; `carried` names those
// fields. Valid during the call only.
struct KnownAnnouncement {
    int slot;
    const DeviceRecord &announced;
    UnitFields carried;
};
using KnownAnnouncementListener = std::function<void(const KnownAnnouncement &)>;

// The longest processor name that a processor's answer carries.
constexpr std::size_t ProcessorAnswerNameLength = 10;

// The name in a processor's answer (command 07: AA 55 L 07, 0..10 name bytes, A5, length
// L + 4), or nothing when the datagram is not such an answer. The name ends at its first NUL.
std::optional<std::string> processorAnswerName(const Datagram &datagram);

// Turns one received datagram into changes of the store and the processor list. Unit frames
// count only while the search is on; a unit that registers is answered with its attach frame
// here. Processor answers add the processor to the list and complete a connection attempt.
// Everything malformed is dropped without a word to the operator; `dropped`, when given, says
// why (DropReason::None when the datagram was taken). `known`, when set, hears every known
// unit's announcement before the unit's record takes its identity.
ReplyActions HandleReply(Store &store, ProcessorListModel &processors, Link &link,
    const Clock &clock, const Datagram &datagram, DropReason *dropped = nullptr,
    const KnownAnnouncementListener &known = {});

} // namespace arx
