#pragma once

#include "model/DeviceRecord.h"
#include "model/UnitCheck.h"

#include <vector>

namespace arx {

// Where a known unit's announcement (`announced`, as the reply parser read it) and the record
// ARX keeps of it (`record`, before the parser rewrites its identity) disagree, in the texts
// the pages show.

// Name, address and type.
std::vector<UnitDifference> identityDifferences(
    const DeviceRecord &record, const DeviceRecord &announced);

// The settings among `carried` (what the announcement's variant holds): the switches, gain
// and mode, the colours, and the PXL2 equaliser's bands and low cut.
std::vector<UnitDifference> settingDifferences(
    const DeviceRecord &record, const DeviceRecord &announced, UnitFields carried);

} // namespace arx
