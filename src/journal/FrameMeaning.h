#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace arx {

enum class FrameWay { Out, In };

// What a frame means, in short words that name every field it carries in the units the
// pages show, for example "settings gain +6dB, low cut off, 48V on, mute on, locate off,
// mode PTT". `unitType` is the type of the unit the frame goes to or comes from (0 when
// unknown), since gain codes read differently by family. Texts are UTF-8; device names are
// decoded from GBK.
std::string frameMeaning(std::span<const std::uint8_t> bytes, FrameWay way, std::int32_t unitType);

// Level reports ('%G', '%L'), which a window may hide since they dominate the traffic.
bool isLevelReport(std::span<const std::uint8_t> bytes);

} // namespace arx
