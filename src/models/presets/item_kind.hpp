#pragma once

#include <optional>
#include <string_view>

namespace quorvane {

// Whether a preset, scene or group ships with the application or was made by
// the user; the three share one life cycle and one coding ("builtIn", "custom").
enum class ItemKind { builtIn, custom };

std::string_view caseName(ItemKind kind);
std::optional<ItemKind> parseCaseName(std::string_view text, ItemKind*);

}  // namespace quorvane
