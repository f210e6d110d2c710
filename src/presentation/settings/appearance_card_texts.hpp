#pragma once

#include <string_view>

#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// The sentence under the text-size setting, describing the size selected now
// (the appearance's sentence is the switcher's help text).
std::string_view textSizeDetail(QuorvaneTextSize textSize);

}  // namespace quorvane
