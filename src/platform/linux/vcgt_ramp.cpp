#include "platform/linux/vcgt_ramp.hpp"

#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace quorvane {

namespace {

struct ProfileCloser {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};

std::vector<std::uint16_t> sample(const cmsToneCurve* curve, std::size_t size) {
    std::vector<std::uint16_t> levels(size);
    for (std::size_t i = 0; i < size; ++i) {
        const float input = static_cast<float>(i) / static_cast<float>(size - 1);
        const float output = std::clamp(cmsEvalToneCurveFloat(curve, input), 0.0f, 1.0f);
        levels[i] = static_cast<std::uint16_t>(std::lround(output * 65535.0f));
    }
    return levels;
}

}  // namespace

std::optional<GammaRamp> vcgtRamp(std::span<const std::uint8_t> profile, std::size_t size) {
    if (size < 2 || profile.empty())
        return std::nullopt;
    std::unique_ptr<void, ProfileCloser> handle(
        cmsOpenProfileFromMem(profile.data(), static_cast<cmsUInt32Number>(profile.size())));
    if (!handle)
        return std::nullopt;
    // The tag reads as three curves: red, green, blue.
    const auto* curves = static_cast<cmsToneCurve**>(cmsReadTag(handle.get(), cmsSigVcgtTag));
    if (!curves || !curves[0] || !curves[1] || !curves[2])
        return std::nullopt;
    return GammaRamp{sample(curves[0], size), sample(curves[1], size), sample(curves[2], size)};
}

}  // namespace quorvane
