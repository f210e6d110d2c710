#pragma once

#include <string_view>

#include "models/settings/quorvane_appearance.hpp"
#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// The sentence under each setting of the appearance card, describing the
// value selected now.
std::string_view textSizeDetail(QuorvaneTextSize textSize);
std::string_view appearanceDetail(QuorvaneAppearance appearance);

}  // namespace quorvane
