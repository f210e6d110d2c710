#include "models/color/transfer_tables.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace quorvane {
namespace {

// A value above the maximum becomes the maximum; anything not at least the
// minimum (NaN included) becomes the minimum.
double clampInput(double value, double minimum, double maximum) {
    if (value > maximum) {
        return maximum;
    }
    if (!(value >= minimum)) {
        return minimum;
    }
    return value;
}

double clampOutput(double value) {
    if (!(value > 0)) {
        return 0;
    }
    return value > 1 ? 1 : value;
}

struct Channel {
    double gamma;
    double gain;
    double warmthFactor;
    std::vector<float>* table;
};

}  // namespace

TransferTables buildTransferTables(const ColorAdjustment& adjustment, int tableSize) {
    const auto n = static_cast<std::size_t>(std::max(tableSize, 2));
    TransferTables tables{std::vector<float>(n), std::vector<float>(n), std::vector<float>(n)};

    const double brightness = clampInput(adjustment.softwareBrightness, 0, 1.5);
    const double contrast = clampInput(adjustment.contrast, 0.2, 2);
    const double gamma = clampInput(adjustment.gamma, 0.2, 3);
    const double warmth = clampInput(adjustment.warmth, -1, 1);
    const bool invert = adjustment.outputFilter == QuorvaneOutputFilter::invert;

    const double redFactor = warmth > 0 ? 1 + 0.12 * warmth : 1 + 0.2 * warmth;
    const double greenFactor = warmth > 0 ? 1 - 0.04 * warmth : 1;
    const double blueFactor = warmth > 0 ? 1 - 0.32 * warmth : 1 - 0.12 * warmth;

    const Channel channels[] = {
        {clampInput(adjustment.redGamma, 0.4, 2.5), adjustment.redGain, redFactor, &tables.red},
        {clampInput(adjustment.greenGamma, 0.4, 2.5), adjustment.greenGain, greenFactor,
         &tables.green},
        {clampInput(adjustment.blueGamma, 0.4, 2.5), adjustment.blueGain, blueFactor, &tables.blue},
    };

    for (std::size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(n - 1);
        double y = contrast * (x - 0.5) + 0.5;
        if (y <= 0) {
            y = 0;
        }
        if (y > 1) {
            y = 1;
        }
        const double base = std::pow(y, 1 / gamma);
        for (const Channel& channel : channels) {
            double v = channel.warmthFactor *
                       (channel.gain * (brightness * std::pow(base, 1 / channel.gamma)));
            v = clampOutput(v);
            if (invert) {
                v = 1 - v;
            }
            (*channel.table)[i] = static_cast<float>(v);
        }
    }
    return tables;
}

}  // namespace quorvane
