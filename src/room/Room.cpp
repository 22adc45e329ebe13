#include "room/Room.h"

namespace arx {

Room::Room(RoomSeams seams)
    : store_(seams.store)
    , clock_(seams.clock)
    , presetFolder_(seams.presetFolder)
    , discovery_(seams.store, seams.link, seams.clock, seams.prompts, observers_,
          std::move(seams.ownAddress))
    , units_(seams.store, seams.link, seams.clock, observers_)
    , speaker_(seams.store, seams.link, seams.prompts, observers_,
          [this](const std::string &name) { discovery_.showProcessorName(name); })
    , presets_(seams.store, seams.link, seams.prompts, seams.files, observers_, seams.presetFolder)
{
    store_.eulerConstant = computeEulerConstant();
    SetDefaults(store_);
}

Discovery::Received Room::received(const Datagram &datagram)
{
    return discovery_.received(datagram);
}

void Room::tick()
{
    discovery_.tick();
    units_.tick();
}

} // namespace arx
