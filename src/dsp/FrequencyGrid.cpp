#include "dsp/FrequencyGrid.h"

#include <algorithm>

namespace arx {

std::size_t nearestGridIndex(double frequency)
{
    const auto above = std::lower_bound(FrequencyGrid.begin(), FrequencyGrid.end(), frequency);
    std::size_t index = above == FrequencyGrid.end()
        ? GridPointCount - 1
        : static_cast<std::size_t>(above - FrequencyGrid.begin());
    // Strictly nearer below; a tie keeps the upper point.
    if (index > 0 && (FrequencyGrid[index] - frequency) > (frequency - FrequencyGrid[index - 1]))
        --index;
    return index;
}

} // namespace arx
