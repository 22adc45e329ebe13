#pragma once

namespace arx {

// Why a datagram was dropped on its way in or out, for the traffic journal. Dropping stays
// where it is; this only names the reason.
enum class DropReason {
    None,
    // The transport
    Empty,
    TooLong,
    // The hand-over to the user-interface thread
    QueueFull,
    // The reply parser
    WrongFraming, // first or last byte is not that of a frame
    UnknownLetter, // a unit frame with a letter no unit sends
    UnusedLetter, // 'B' and 'U': known, and meaning nothing to ARX
    NoVariant, // an announcement of a length no variant has
    SearchOff, // a unit frame while the search is off
    NoFreeSlot, // a new unit while all 64 slots are taken
    TooShort, // too short for the fields of its letter
    UnknownSender, // a report from an address that no occupied slot holds
    // The way out
    Refused, // the send queue was full
    SendError, // the socket refused the datagram
};

// A short text for the journal, for example "search off".
const char *dropReasonText(DropReason reason);

} // namespace arx
