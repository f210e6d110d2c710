#include "models/color/quorvane_color_temperature.hpp"

#include <algorithm>
#include <cmath>

#include "models/coding/number_format.hpp"

namespace quorvane {

namespace {

constexpr double kNeutralKelvin = 6500;
constexpr double kWarmSpan = 3800;
constexpr double kCoolSpan = 2800;
constexpr double kWarmestKelvin = 2700;
constexpr double kCoolestKelvin = 9300;

}  // namespace

const std::vector<QuorvaneColorTemperature::Preset>& QuorvaneColorTemperature::presets() {
    static const std::vector<Preset> list{
        {"warm-evening", "따뜻한 저녁", 3000},
        {"daylight", "자연광", 6500},
        {"cool-focus", "집중용 차가움", 9300},
    };
    return list;
}

double QuorvaneColorTemperature::kelvin(double warmth) {
    // A NaN warmth has no temperature; show it as neutral rather than
    // letting it reach the integer conversion of the text.
    const double w = std::isnan(warmth) ? 0.0 : std::clamp(warmth, -1.0, 1.0);
    return w >= 0 ? kNeutralKelvin - kWarmSpan * w : kNeutralKelvin - kCoolSpan * w;
}

double QuorvaneColorTemperature::warmth(double kelvin) {
    const double k =
        std::isnan(kelvin) ? kNeutralKelvin : std::clamp(kelvin, kWarmestKelvin, kCoolestKelvin);
    return k <= kNeutralKelvin ? (kNeutralKelvin - k) / kWarmSpan
                               : (kNeutralKelvin - k) / kCoolSpan;
}

std::string QuorvaneColorTemperature::displayText(double warmth) {
    return kelvinText(kelvin(warmth));
}

std::string QuorvaneColorTemperature::kelvinText(double kelvin) {
    // A slider may hand over NaN while it has no value; it reads as neutral.
    const double k =
        std::isnan(kelvin) ? kNeutralKelvin : std::clamp(kelvin, kWarmestKelvin, kCoolestKelvin);
    const long hundreds = std::lround(k / 100);  // halves away from zero
    return formatDecimal(static_cast<std::int64_t>(hundreds) * 100) + "K";
}

}  // namespace quorvane
