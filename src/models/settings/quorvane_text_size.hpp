#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quorvane {

// The text size of every window.
enum class QuorvaneTextSize { standard, large, extraLarge, veryLarge };

inline constexpr std::array<QuorvaneTextSize, 4> kAllTextSizes = {
    QuorvaneTextSize::standard, QuorvaneTextSize::large, QuorvaneTextSize::extraLarge,
    QuorvaneTextSize::veryLarge};

std::string_view caseName(QuorvaneTextSize size);
// The name users see: "기본", "크게", "더 크게", "아주 크게".
std::string_view displayName(QuorvaneTextSize size);
std::optional<QuorvaneTextSize> parseCaseName(std::string_view text, QuorvaneTextSize*);

}  // namespace quorvane
