#pragma once

#include "model/Store.h"
#include "seams/Link.h"

#include <string>

namespace arx {

// Senders of the coefficient frames. They read the store at the moment of sending and
// check neither the unit's inUse nor rdaConnected: their callers do.

// Sends band 1..4 of the unit's equaliser, or its low cut for band 5 (MicLowCutBand), to
// deviceAddress on the units' port, then pauses 10 ms whether or not the send went, which
// spaces the equaliser's frames. True when the link accepted the datagram. An index or band
// out of range sends nothing and returns false.
bool sendMicEqBand(
    Link &link, const Store &store, const std::string &deviceAddress, int deviceIndex, int band);

// The processor senders go to rdaAddress on the processor's port, without a pause. channel
// is 0 (A) or 1 (B). They return true whatever the send did, and false only when there was
// nothing to send: a channel, band or crossover type out of range.
bool sendSpeakerEqBand(Link &link, const Store &store, int channel, int band);
bool sendHighPass(Link &link, const Store &store, int channel);
bool sendLowPass(Link &link, const Store &store, int channel);
bool sendDynamics(Link &link, const Store &store, int channel);

} // namespace arx
