#include "presentation/shell/opening_stop.hpp"

#include <algorithm>

namespace quorvane {

std::optional<std::size_t> openingStop(std::span<const KeyEffect> stopsInReadingOrder) {
    const auto found =
        std::find(stopsInReadingOrder.begin(), stopsInReadingOrder.end(), KeyEffect::stays);
    if (found == stopsInReadingOrder.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - stopsInReadingOrder.begin());
}

}  // namespace quorvane
