#include "protocol/Frames.h"

#include "protocol/Ports.h"

#include <array>

namespace arx {

namespace {

std::uint8_t lowByte(std::int32_t value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

void appendCode(Frame &payload, const DeviceRecord &record)
{
    // The code goes out as its eight raw bytes, whatever they hold.
    payload.insert(payload.end(), record.code, record.code + CodeLength);
}

// Colours as 24-bit values, least significant byte first.
void appendWide(Frame &payload, std::int32_t colour)
{
    payload.push_back(lowByte(colour));
    payload.push_back(lowByte(colour >> 8));
    payload.push_back(lowByte(colour >> 16));
}

Frame coloursFrameWithLetter(std::uint8_t letter, const DeviceRecord &record)
{
    Frame payload;
    appendCode(payload, record);
    payload.push_back(lowByte(record.colourOpen));
    payload.push_back(lowByte(record.colourMute));
    payload.push_back(lowByte(record.colourCall));
    return unitFrame(letter, payload);
}

// The local port and this computer's address, as 'C' and 07 both carry them.
std::array<std::uint8_t, 6> answerAddress(std::uint16_t port, const Ipv4Bytes &ownAddress)
{
    return { static_cast<std::uint8_t>(port >> 8), static_cast<std::uint8_t>(port & 0xFF),
        ownAddress[0], ownAddress[1], ownAddress[2], ownAddress[3] };
}

} // namespace

Frame unitFrame(std::uint8_t letter, std::span<const std::uint8_t> payload)
{
    Frame frame;
    frame.reserve(payload.size() + 3);
    frame.push_back(UnitFrameStart);
    frame.push_back(letter);
    frame.insert(frame.end(), payload.begin(), payload.end());
    frame.push_back(UnitFrameEnd);
    return frame;
}

Frame processorFrame(std::uint8_t command, std::span<const std::uint8_t> data)
{
    Frame frame;
    frame.reserve(data.size() + ProcessorFrameOverhead + 1);
    frame.push_back(ProcessorFrameStart1);
    frame.push_back(ProcessorFrameStart2);
    frame.push_back(static_cast<std::uint8_t>(data.size() + 1));
    frame.push_back(command);
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(ProcessorFrameEnd);
    return frame;
}

Frame unitSettingsFrame(const DeviceRecord &record)
{
    const std::uint8_t payload[]
        = { lowByte(record.gain), lowByte(record.lowCut), lowByte(record.phantom),
              lowByte(record.micMute), lowByte(record.locate), lowByte(record.mode) };
    return unitFrame('A', payload);
}

Frame unitSettings5Frame(const DeviceRecord &record)
{
    const std::uint8_t payload[] = { lowByte(record.gain), lowByte(record.lowCut),
        lowByte(record.micMute), lowByte(record.locate), lowByte(record.mode) };
    return unitFrame('H', payload);
}

Frame attachFrame(std::uint8_t value)
{
    return unitFrame('F', std::span(&value, 1));
}

Frame attach5Frame(std::uint8_t value)
{
    return unitFrame('K', std::span(&value, 1));
}

Frame coloursFrame(const DeviceRecord &record)
{
    return coloursFrameWithLetter('M', record);
}

Frame coloursDefaultCodeFrame(const DeviceRecord &record)
{
    return coloursFrameWithLetter('O', record);
}

Frame coloursWideFrame(const DeviceRecord &record)
{
    Frame payload;
    appendCode(payload, record);
    appendWide(payload, record.colourOpen);
    appendWide(payload, record.colourMute);
    appendWide(payload, record.colourCall);
    return unitFrame('P', payload);
}

Frame searchRequestFrame(const Ipv4Bytes &ownAddress)
{
    return unitFrame('C', answerAddress(LocalPort, ownAddress));
}

Frame levelFrame(LevelTarget target, std::int32_t level)
{
    const std::uint8_t data[] = { static_cast<std::uint8_t>(target), lowByte(level) };
    return processorFrame(ProcessorLevel, data);
}

Frame deviceNameFrame(const SpeakerStore &speaker)
{
    const auto *name = reinterpret_cast<const std::uint8_t *>(speaker.processorName);
    return processorFrame(ProcessorName, std::span(name, ProcessorNameLength));
}

Frame connectRequestFrame(const Ipv4Bytes &ownAddress)
{
    return processorFrame(ProcessorConnect, answerAddress(ProcessorPort, ownAddress));
}

Frame deviceResetFrame()
{
    return processorFrame(ProcessorReset, {});
}

Frame phaseFrame(PhaseTarget target, std::int32_t phase)
{
    const std::uint8_t data[] = { static_cast<std::uint8_t>(target), lowByte(phase) };
    return processorFrame(ProcessorPhase, data);
}

} // namespace arx
