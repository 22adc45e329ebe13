#pragma once

#include "model/Store.h"
#include "seams/Link.h"

namespace arx {

// What the speaker page, a preset recall and SEND ALL share: the rule that keeps a
// "Variable" crossover designable, and the whole setting sent in one documented order.

constexpr int CrossoverQMin = 1;
constexpr int CrossoverQMax = 1000;
constexpr int SettingFramePauseMs = 50;

// A "Variable" crossover (type 4) divides by its Q code, so a code outside 1..1000 takes
// the nearest limit (0 becomes 1) before anything is sent. Other types do not read the Q
// code and keep it. True when a code changed; the caller then shows the store again.
bool limitVariableCrossoverQ(SpeakerChannel &channel);
bool limitVariableCrossoverQ(SpeakerStore &speaker);

enum class NameFrame {
    Always, // a recall sends the stored name, whatever it holds
    SkipWhenEmpty // SEND ALL must not blank the processor's own name
};

// The whole setting to the processor, each frame followed by 50 ms: channel A bands 1..7,
// its high-pass and low-pass; the same for channel B; dynamics A, then B; the levels main,
// A, B; the name. Phases are not part of it. The crossover Q rule is applied first.
void sendSpeakerSetting(Link &link, Store &store, NameFrame name = NameFrame::Always);

// For a processor whose state is unknown (ARX has restarted since it last sent to it): the
// whole setting as above with its name, then the phase of channel A and of channel B, each
// followed by 50 ms too, so that nothing is left out.
void sendSpeakerSettingAndPhases(Link &link, Store &store);

} // namespace arx
