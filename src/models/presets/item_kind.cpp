#include "models/presets/item_kind.hpp"

namespace quorvane {

std::string_view caseName(ItemKind kind) {
    return kind == ItemKind::builtIn ? "builtIn" : "custom";
}

std::optional<ItemKind> parseCaseName(std::string_view text, ItemKind*) {
    if (text == "builtIn")
        return ItemKind::builtIn;
    if (text == "custom")
        return ItemKind::custom;
    return std::nullopt;
}

}  // namespace quorvane
