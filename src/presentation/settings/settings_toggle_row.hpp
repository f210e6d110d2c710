#pragma once

#include <optional>
#include <string>

#include "presentation/design/color_role.hpp"

namespace quorvane {

// One switch of a settings card: its texts, its state and the optional pill
// under it.
struct SettingsToggleRow {
    std::string title;
    std::string detail;
    bool isOn = false;
    std::optional<std::string> status;
    std::optional<ColorRole> statusTint;

    bool operator==(const SettingsToggleRow&) const = default;
};

}  // namespace quorvane
