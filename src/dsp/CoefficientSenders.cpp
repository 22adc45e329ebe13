#include "dsp/CoefficientSenders.h"

#include "dsp/CoefficientFrames.h"
#include "protocol/Ports.h"

#include <optional>

namespace arx {

namespace {

constexpr int MicEqPauseMs = 10;

bool validChannel(int channel)
{
    return channel >= 0 && channel < SpeakerChannelCount;
}

template <typename Frame>
bool sendToProcessor(Link &link, const Store &store, const std::optional<Frame> &frame)
{
    if (!frame)
        return false;
    link.send(store.rdaAddress, ProcessorPort, *frame); // failures are not reported
    return true;
}

} // namespace

bool sendMicEqBand(
    Link &link, const Store &store, const std::string &deviceAddress, int deviceIndex, int band)
{
    if (deviceIndex < 0 || deviceIndex >= UnitSlotCount)
        return false;
    const std::optional<MicEqFrame> frame = buildMicEqFrame(store.unitTable[deviceIndex], band);
    if (!frame)
        return false;
    const bool sent = link.send(deviceAddress, LocalPort, *frame);
    link.pause(MicEqPauseMs);
    return sent;
}

bool sendSpeakerEqBand(Link &link, const Store &store, int channel, int band)
{
    if (!validChannel(channel))
        return false;
    return sendToProcessor(
        link, store, buildSpeakerEqFrame(store.speaker.channels[channel], channel, band));
}

bool sendHighPass(Link &link, const Store &store, int channel)
{
    if (!validChannel(channel))
        return false;
    return sendToProcessor(
        link, store, buildHighPassFrame(store.speaker.channels[channel], channel));
}

bool sendLowPass(Link &link, const Store &store, int channel)
{
    if (!validChannel(channel))
        return false;
    return sendToProcessor(
        link, store, buildLowPassFrame(store.speaker.channels[channel], channel));
}

bool sendDynamics(Link &link, const Store &store, int channel)
{
    if (!validChannel(channel))
        return false;
    return sendToProcessor(link, store,
        std::optional(
            buildDynamicsFrame(store.speaker.channels[channel], channel, store.eulerConstant)));
}

} // namespace arx
