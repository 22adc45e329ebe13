#include "protocol/Senders.h"

#include "protocol/Ports.h"

namespace arx {

namespace {

void sendToUnit(Link &link, const std::string &address, const Frame &frame)
{
    link.send(address, LocalPort, frame);
    link.pause(UnitFramePauseMs);
}

void sendToSlot(Link &link, const Store &store, int slot, const Frame &frame)
{
    sendToUnit(link, std::string(textOf(store.unitTable.at(slot).ip)), frame);
}

void sendToProcessor(Link &link, const Store &store, const Frame &frame)
{
    link.send(store.rdaAddress, ProcessorPort, frame);
}

void sendAttachFrame(
    Link &link, const std::string &unitAddress, const Frame &frame, AttachDelivery delivery)
{
    if (delivery == AttachDelivery::UnlessWaiting)
        link.sendUnlessWaiting(unitAddress, LocalPort, frame);
    else
        link.send(unitAddress, LocalPort, frame);
    link.pause(UnitFramePauseMs);
}

} // namespace

void SendUnitSettings(Link &link, const Store &store, int slot)
{
    sendToSlot(link, store, slot, unitSettingsFrame(store.unitTable.at(slot)));
}

void SendUnitSettings5(Link &link, const Store &store, int slot)
{
    sendToSlot(link, store, slot, unitSettings5Frame(store.unitTable.at(slot)));
}

void SendColours(Link &link, const Store &store, int slot)
{
    sendToSlot(link, store, slot, coloursFrame(store.unitTable.at(slot)));
}

void SendColoursDefaultCode(Link &link, Store &store, int slot)
{
    DeviceRecord &record = store.unitTable.at(slot);
    setText(record.code, DefaultColourCode);
    sendToSlot(link, store, slot, coloursDefaultCodeFrame(record));
}

void SendColoursWide(Link &link, Store &store, int slot)
{
    DeviceRecord &record = store.unitTable.at(slot);
    setText(record.code, DefaultColourCode);
    sendToSlot(link, store, slot, coloursWideFrame(record));
}

void SendAttach(
    Link &link, const std::string &unitAddress, std::uint8_t value, AttachDelivery delivery)
{
    sendAttachFrame(link, unitAddress, attachFrame(value), delivery);
}

void SendAttach5(
    Link &link, const std::string &unitAddress, std::uint8_t value, AttachDelivery delivery)
{
    sendAttachFrame(link, unitAddress, attach5Frame(value), delivery);
}

bool SendSearchRequest(Link &link, const std::string &ownAddress)
{
    const auto own = ipv4Bytes(ownAddress);
    if (!own)
        return false;
    const bool accepted = link.send(SearchGroup, SearchPort, searchRequestFrame(*own));
    link.pause(UnitFramePauseMs);
    return accepted;
}

void SendDeviceName(Link &link, const Store &store)
{
    sendToProcessor(link, store, deviceNameFrame(store.speaker));
}

void SendConnectRequest(Link &link, const Store &store, const std::string &ownAddress)
{
    const auto own = ipv4Bytes(ownAddress);
    if (!own)
        return;
    sendToProcessor(link, store, connectRequestFrame(*own));
}

void SendDeviceReset(Link &link, const Store &store)
{
    sendToProcessor(link, store, deviceResetFrame());
}

void SendLevel(Link &link, const Store &store, LevelTarget target)
{
    const SpeakerStore &speaker = store.speaker;
    std::int32_t level = speaker.mainLevel;
    if (target == LevelTarget::ChannelA)
        level = speaker.channels[0].level;
    else if (target == LevelTarget::ChannelB)
        level = speaker.channels[1].level;
    sendToProcessor(link, store, levelFrame(target, level));
}

void SendPhase(Link &link, const Store &store, PhaseTarget target)
{
    const int channel = target == PhaseTarget::ChannelA ? 0 : 1;
    sendToProcessor(link, store, phaseFrame(target, store.speaker.channels[channel].phase));
}

} // namespace arx
