#include "presentation/design/scroll_bar_geometry.hpp"

#include <algorithm>
#include <cmath>

namespace quorvane {

ScrollThumb scrollThumb(int trackLength, int minimum, int maximum, int pageStep, int value,
                        int minimumThumb) {
    const int track = std::max(trackLength, 0);
    if (maximum <= minimum)
        return {0, track};
    const double range = static_cast<double>(maximum) - minimum;
    const double page = std::max(pageStep, 0);
    const double share = page / (range + page);
    const int length = std::clamp(static_cast<int>(std::lround(share * track)),
                                  std::min(minimumThumb, track), track);
    const double position = (std::clamp(value, minimum, maximum) - minimum) / range;
    const int start = static_cast<int>(std::lround(position * (track - length)));
    return {start, length};
}

}  // namespace quorvane
