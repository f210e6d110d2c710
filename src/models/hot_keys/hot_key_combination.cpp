#include "models/hot_keys/hot_key_combination.hpp"

#include <algorithm>

namespace quorvane {

HotKeyCombination::HotKeyCombination(std::uint32_t keyCode, std::string keyLabel,
                                     std::vector<HotKeyModifier> modifiers)
    : keyCode(keyCode),
      keyLabel(std::move(keyLabel)),
      modifiers(normalizedModifiers(std::move(modifiers))) {}

HotKeyCombination HotKeyCombination::defaultEmergencyRecovery() {
    return HotKeyCombination(37, "L", {HotKeyModifier::command, HotKeyModifier::shift});
}

std::vector<HotKeyModifier> HotKeyCombination::normalizedModifiers(
    std::vector<HotKeyModifier> modifiers) {
    std::sort(modifiers.begin(), modifiers.end());
    modifiers.erase(std::unique(modifiers.begin(), modifiers.end()), modifiers.end());
    return modifiers;
}

std::string HotKeyCombination::displayLabel() const {
    std::string label;
    for (HotKeyModifier modifier : modifiers)
        label += symbol(modifier);
    label += keyLabel;
    return label;
}

}  // namespace quorvane
