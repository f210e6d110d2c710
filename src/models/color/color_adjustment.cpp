#include "models/color/color_adjustment.hpp"

#include <array>

#include "models/coding/number_format.hpp"

namespace quorvane {

std::string_view caseName(QuorvaneOutputFilter filter) {
    switch (filter) {
        case QuorvaneOutputFilter::none:
            return "none";
        case QuorvaneOutputFilter::invert:
            return "invert";
    }
    return "none";
}

std::optional<QuorvaneOutputFilter> parseCaseName(std::string_view text, QuorvaneOutputFilter*) {
    if (text == "none")
        return QuorvaneOutputFilter::none;
    if (text == "invert")
        return QuorvaneOutputFilter::invert;
    return std::nullopt;
}

namespace {

std::array<double, 10> numbersInFieldOrder(const ColorAdjustment& a) {
    return {a.softwareBrightness, a.contrast, a.gamma,     a.redGamma, a.greenGamma,
            a.blueGamma,          a.redGain,  a.greenGain, a.blueGain, a.warmth};
}

}  // namespace

std::string ColorAdjustment::stableApplySignature() const {
    std::string signature;
    bool first = true;
    for (double number : numbersInFieldOrder(*this)) {
        if (!first)
            signature += '|';
        first = false;
        signature += formatFixed(number, 4);
    }
    signature += "|filter=";
    signature += caseName(outputFilter);
    return signature;
}

std::size_t hashValue(const ColorAdjustment& adjustment) {
    std::size_t seed = std::hash<int>{}(static_cast<int>(adjustment.outputFilter));
    for (double number : numbersInFieldOrder(adjustment)) {
        // Equal doubles must hash alike, and 0.0 == -0.0.
        const double normalised = number == 0 ? 0.0 : number;
        seed ^= std::hash<double>{}(normalised) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    }
    return seed;
}

}  // namespace quorvane
