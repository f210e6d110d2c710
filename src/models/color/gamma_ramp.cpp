#include "models/color/gamma_ramp.hpp"

#include <algorithm>
#include <cmath>

namespace quorvane {
namespace {

std::uint16_t toLevel(double value) {
    if (!(value > 0)) {
        return 0;
    }
    if (value >= 1) {
        return 65535;
    }
    return static_cast<std::uint16_t>(std::lround(value * 65535.0));
}

}  // namespace

std::vector<std::uint16_t> resampleTable(std::span<const float> table, std::size_t size) {
    std::vector<std::uint16_t> levels(size, 0);
    if (size == 0 || table.empty()) {
        return levels;
    }
    if (table.size() == 1 || size == 1) {
        std::fill(levels.begin(), levels.end(), toLevel(table.front()));
        return levels;
    }
    double step = static_cast<double>(table.size() - 1) / static_cast<double>(size - 1);
    for (std::size_t index = 0; index < size; ++index) {
        double position = static_cast<double>(index) * step;
        auto lower = std::min(static_cast<std::size_t>(position), table.size() - 1);
        double fraction = position - static_cast<double>(lower);
        double value = table[lower];
        if (fraction > 0 && lower + 1 < table.size()) {
            value += (table[lower + 1] - table[lower]) * fraction;
        }
        levels[index] = toLevel(value);
    }
    return levels;
}

GammaRamp GammaRamp::fromTables(const TransferTables& tables, std::size_t size) {
    return GammaRamp{resampleTable(tables.red, size), resampleTable(tables.green, size),
                     resampleTable(tables.blue, size)};
}

GammaRamp GammaRamp::identity(std::size_t size) {
    std::vector<std::uint16_t> levels(size, 0);
    for (std::size_t index = 0; size > 1 && index < size; ++index) {
        levels[index] = toLevel(static_cast<double>(index) / static_cast<double>(size - 1));
    }
    return GammaRamp{levels, levels, levels};
}

}  // namespace quorvane
