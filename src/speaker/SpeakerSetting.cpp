#include "speaker/SpeakerSetting.h"

#include "dsp/CoefficientDesigns.h"
#include "dsp/CoefficientSenders.h"
#include "protocol/Senders.h"

#include <algorithm>

namespace arx {

namespace {

bool limitQ(std::int32_t type, std::int32_t &qCode)
{
    if (type != CrossoverVariable)
        return false;
    const std::int32_t limited = std::clamp(qCode, CrossoverQMin, CrossoverQMax);
    const bool changed = limited != qCode;
    qCode = limited;
    return changed;
}

} // namespace

bool limitVariableCrossoverQ(SpeakerChannel &channel)
{
    const bool highPass = limitQ(channel.hpType, channel.hpQ);
    const bool lowPass = limitQ(channel.lpType, channel.lpQ);
    return highPass || lowPass;
}

bool limitVariableCrossoverQ(SpeakerStore &speaker)
{
    bool changed = false;
    for (SpeakerChannel &channel : speaker.channels)
        changed = limitVariableCrossoverQ(channel) || changed;
    return changed;
}

void sendSpeakerSetting(Link &link, Store &store, NameFrame name)
{
    limitVariableCrossoverQ(store.speaker);
    const auto paced = [&link](auto &&send) {
        send();
        link.pause(SettingFramePauseMs);
    };
    for (int channel = 0; channel < SpeakerChannelCount; ++channel) {
        for (int band = 1; band <= SpeakerBandCount; ++band)
            paced([&] { sendSpeakerEqBand(link, store, channel, band); });
        paced([&] { sendHighPass(link, store, channel); });
        paced([&] { sendLowPass(link, store, channel); });
    }
    for (int channel = 0; channel < SpeakerChannelCount; ++channel)
        paced([&] { sendDynamics(link, store, channel); });
    for (LevelTarget target : { LevelTarget::Main, LevelTarget::ChannelA, LevelTarget::ChannelB })
        paced([&] { SendLevel(link, store, target); });
    if (name == NameFrame::SkipWhenEmpty && textOf(store.speaker.processorName).empty())
        return;
    paced([&] { SendDeviceName(link, store); });
}

void sendSpeakerSettingAndPhases(Link &link, Store &store)
{
    sendSpeakerSetting(link, store, NameFrame::Always);
    for (PhaseTarget target : { PhaseTarget::ChannelA, PhaseTarget::ChannelB }) {
        SendPhase(link, store, target);
        link.pause(SettingFramePauseMs);
    }
}

} // namespace arx
