#pragma once

#include <optional>
#include <string>

namespace quorvane {

// This computer's hot-key situation as the import texts need it; unset
// fields read as "keep what is here".
struct QuorvaneLocalHotKeyImportState {
    std::optional<bool> sceneHotKeysEnabled;
    std::optional<bool> emergencyRecoveryHotKeyEnabled;
    std::optional<std::string> emergencyRecoveryHotKeyLabel;

    bool operator==(const QuorvaneLocalHotKeyImportState&) const = default;
};

}  // namespace quorvane
