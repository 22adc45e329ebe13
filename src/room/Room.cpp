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
    , check_(seams.store, seams.link, seams.clock, discovery_, units_, observers_,
          seams.checkIntervalMs)
    , apply_(seams.store, seams.link, seams.clock, units_, presets_, check_)
    , roomFiles_(seams.store, seams.files, seams.prompts, seams.clock, seams.version, apply_)
    , actions_(seams.store, units_, observers_)
{
    discovery_.setKnownAnnouncementListener(
        [this](const KnownAnnouncement &known) { check_.compare(known); });
    store_.eulerConstant = computeEulerConstant();
    SetDefaults(store_);
}

Discovery::Received Room::received(const Datagram &datagram)
{
    const Discovery::Received outcome = discovery_.received(datagram);
    check_.received(datagram, outcome.dropped);
    return outcome;
}

void Room::tick()
{
    discovery_.tick();
    units_.tick();
    check_.tick();
    apply_.tick();
}

} // namespace arx
