#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quorvane {

// Light, dark or the desktop's own appearance for every window.
enum class QuorvaneAppearance { system, light, dark };

inline constexpr std::array<QuorvaneAppearance, 3> kAllAppearances = {
    QuorvaneAppearance::system, QuorvaneAppearance::light, QuorvaneAppearance::dark};

std::string_view caseName(QuorvaneAppearance appearance);
// The name users see: "시스템", "라이트", "다크".
std::string_view displayName(QuorvaneAppearance appearance);
std::optional<QuorvaneAppearance> parseCaseName(std::string_view text, QuorvaneAppearance*);

}  // namespace quorvane
