#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "models/coding/json_coding.hpp"

namespace quorvane {

// A filter applied after the transfer curves are built.
enum class QuorvaneOutputFilter { none, invert };

std::string_view caseName(QuorvaneOutputFilter filter);
std::optional<QuorvaneOutputFilter> parseCaseName(std::string_view text, QuorvaneOutputFilter*);

// The software colour state of one monitor: the numbers and the output filter
// from which its gamma transfer tables are built. Values are kept as given;
// the table builder clamps them when it writes.
struct ColorAdjustment {
    double softwareBrightness = 1;
    double contrast = 1;
    double gamma = 1;
    double redGamma = 1;
    double greenGamma = 1;
    double blueGamma = 1;
    double redGain = 1;
    double greenGain = 1;
    double blueGain = 1;
    double warmth = 0;
    QuorvaneOutputFilter outputFilter = QuorvaneOutputFilter::none;

    bool operator==(const ColorAdjustment&) const = default;

    // The adjustment that leaves the screen unchanged.
    static ColorAdjustment neutral() { return {}; }

    // Equal for adjustments that give the same tables at four decimals:
    // the ten numbers as "%.4f" joined by "|", then "|filter=" and the filter.
    std::string stableApplySignature() const;

    template <class J>
    J toJson() const;

    // Missing or null keys that have a default take it; every value present
    // must have the right type.
    template <class J>
    static ColorAdjustment fromJson(const J& object);
};

template <class J>
J ColorAdjustment::toJson() const {
    J object = J::object();
    object["softwareBrightness"] = softwareBrightness;
    object["contrast"] = contrast;
    object["gamma"] = gamma;
    object["redGamma"] = redGamma;
    object["greenGamma"] = greenGamma;
    object["blueGamma"] = blueGamma;
    object["redGain"] = redGain;
    object["greenGain"] = greenGain;
    object["blueGain"] = blueGain;
    object["warmth"] = warmth;
    object["outputFilter"] = encodeValue<J>(outputFilter);
    return object;
}

template <class J>
ColorAdjustment ColorAdjustment::fromJson(const J& object) {
    ColorAdjustment adjustment;
    adjustment.softwareBrightness = requireKey<double>(object, "softwareBrightness");
    adjustment.contrast = requireKey<double>(object, "contrast");
    adjustment.gamma = requireKey<double>(object, "gamma");
    adjustment.redGamma = keyOr<double>(object, "redGamma", 1.0);
    adjustment.greenGamma = keyOr<double>(object, "greenGamma", 1.0);
    adjustment.blueGamma = keyOr<double>(object, "blueGamma", 1.0);
    adjustment.redGain = requireKey<double>(object, "redGain");
    adjustment.greenGain = requireKey<double>(object, "greenGain");
    adjustment.blueGain = requireKey<double>(object, "blueGain");
    adjustment.warmth = requireKey<double>(object, "warmth");
    adjustment.outputFilter =
        keyOr<QuorvaneOutputFilter>(object, "outputFilter", QuorvaneOutputFilter::none);
    return adjustment;
}

// Hash consistent with operator== (0 and -0 hash alike).
std::size_t hashValue(const ColorAdjustment& adjustment);

}  // namespace quorvane

template <>
struct std::hash<quorvane::ColorAdjustment> {
    std::size_t operator()(const quorvane::ColorAdjustment& adjustment) const {
        return quorvane::hashValue(adjustment);
    }
};
