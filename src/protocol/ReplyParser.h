#pragma once

#include "model/RoomObserver.h"
#include "model/Store.h"
#include "protocol/Datagram.h"
#include "protocol/DropReason.h"
#include "protocol/ProcessorList.h"
#include "seams/Clock.h"
#include "seams/Link.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <initializer_list>
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

// The actions of one datagram. A registration or a processor answer makes two at most, a
// report one or two for each slot that holds its sender: they are kept in place, and only a
// report reaching several slots that share an address takes memory.
class ReplyActions {
public:
    static constexpr std::size_t InPlace = 4;
    using const_iterator = const ReplyAction *;
    using value_type = ReplyAction;

    ReplyActions() = default;
    ReplyActions(std::initializer_list<ReplyAction> actions)
    {
        for (const ReplyAction &action : actions)
            push_back(action);
    }

    void push_back(const ReplyAction &action)
    {
        if (spilled_.empty() && count_ < InPlace) {
            inPlace_[count_++] = action;
            return;
        }
        if (spilled_.empty())
            spilled_.assign(inPlace_.begin(), inPlace_.begin() + static_cast<long>(count_));
        spilled_.push_back(action);
        ++count_;
    }
    const_iterator begin() const { return spilled_.empty() ? inPlace_.data() : spilled_.data(); }
    const_iterator end() const { return begin() + count_; }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }

    friend bool operator==(const ReplyActions &a, const ReplyActions &b)
    {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    std::array<ReplyAction, InPlace> inPlace_;
    std::vector<ReplyAction> spilled_;
    std::size_t count_ = 0;
};

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
