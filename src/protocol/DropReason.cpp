#include "protocol/DropReason.h"

namespace arx {

const char *dropReasonText(DropReason reason)
{
    switch (reason) {
    case DropReason::None:
        return "";
    case DropReason::Empty:
        return "empty datagram";
    case DropReason::TooLong:
        return "longer than 128 bytes";
    case DropReason::QueueFull:
        return "hand-over queue full";
    case DropReason::WrongFraming:
        return "wrong first or last byte";
    case DropReason::UnknownLetter:
        return "unknown letter";
    case DropReason::UnusedLetter:
        return "letter not used by ARX";
    case DropReason::NoVariant:
        return "no variant for this length";
    case DropReason::SearchOff:
        return "search off";
    case DropReason::NoFreeSlot:
        return "no free slot";
    case DropReason::TooShort:
        return "too short for its fields";
    case DropReason::UnknownSender:
        return "report from an address no occupied slot holds";
    case DropReason::Refused:
        return "send queue full";
    case DropReason::SendError:
        return "send error";
    }
    return "";
}

} // namespace arx
