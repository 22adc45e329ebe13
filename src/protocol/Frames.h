#pragma once

#include "model/DeviceRecord.h"
#include "model/SpeakerStore.h"
#include "protocol/Address.h"

#include <cstdint>
#include <span>
#include <vector>

namespace arx {

// One command datagram, exactly as it goes on the wire.
using Frame = std::vector<std::uint8_t>;

// Unit frames: '%', the command letter, a fixed payload per letter, '#'. Settings travel as
// the low 8 bits of the stored value.
constexpr std::uint8_t UnitFrameStart = '%';
constexpr std::uint8_t UnitFrameEnd = '#';

// Processor frames: AA 55, length L (command byte and data), command, data, A5.
constexpr std::uint8_t ProcessorFrameStart1 = 0xAA;
constexpr std::uint8_t ProcessorFrameStart2 = 0x55;
constexpr std::uint8_t ProcessorFrameEnd = 0xA5;
constexpr std::size_t ProcessorFrameOverhead = 4; // AA 55 L ... A5 around command and data

enum ProcessorCommand : std::uint8_t {
    ProcessorLevel = 0x04,
    ProcessorName = 0x06,
    ProcessorConnect = 0x07,
    ProcessorReset = 0x08,
    ProcessorPhase = 0x0A,
};

// Where a level frame applies. Note that the phase frame numbers the channels from 0.
enum class LevelTarget : std::uint8_t { Main = 0, ChannelA = 1, ChannelB = 2 };
enum class PhaseTarget : std::uint8_t { ChannelA = 0, ChannelB = 1 };

// The code that the colour frames 'O' and 'P' always carry.
constexpr const char *DefaultColourCode = "73920468";
constexpr std::size_t CodeLength = 8;
constexpr std::size_t ProcessorNameLength = 10; // bytes of the name that command 06 carries

Frame unitFrame(std::uint8_t letter, std::span<const std::uint8_t> payload);
Frame processorFrame(std::uint8_t command, std::span<const std::uint8_t> data);

Frame unitSettingsFrame(const DeviceRecord &record); // 'A', six settings
Frame unitSettings5Frame(const DeviceRecord &record); // 'H', five settings, no phantom
Frame attachFrame(std::uint8_t value); // 'F', 1 attach, 0 detach
Frame attach5Frame(std::uint8_t value); // 'K', as 'F' for VEL-K units
Frame coloursFrame(const DeviceRecord &record); // 'M', code and three colour bytes
Frame coloursDefaultCodeFrame(const DeviceRecord &record); // 'O', laid out as 'M'
Frame coloursWideFrame(const DeviceRecord &record); // 'P', code and three 24-bit colours
Frame searchRequestFrame(const Ipv4Bytes &ownAddress); // 'C'

Frame levelFrame(LevelTarget target, std::int32_t level); // 04
Frame deviceNameFrame(const SpeakerStore &speaker); // 06
Frame connectRequestFrame(const Ipv4Bytes &ownAddress); // 07
Frame deviceResetFrame(); // 08
Frame phaseFrame(PhaseTarget target, std::int32_t phase); // 0A

} // namespace arx
