#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "models/coding/json_coding.hpp"
#include "models/hot_keys/hot_key_modifier.hpp"

namespace quorvane {

// A key with the modifiers held with it. The key code keeps the form stored
// in settings files (the recorded virtual key code, 37 for L, 18 for 1) so
// files stay exchangeable; the registrar maps it to the desktop's keys.
struct HotKeyCombination {
    std::uint32_t keyCode = 0;
    std::string keyLabel;
    std::vector<HotKeyModifier> modifiers;

    HotKeyCombination() = default;
    // Built from values, the modifiers lose repeats and are sorted into case
    // order, so every combination the program makes reads control, option,
    // command, shift. Decoding keeps the stored order instead.
    HotKeyCombination(std::uint32_t keyCode, std::string keyLabel,
                      std::vector<HotKeyModifier> modifiers);

    // Command-Shift-L, the emergency recovery key unless the user changes it.
    static HotKeyCombination defaultEmergencyRecovery();

    // Repeats removed, the rest in case order.
    static std::vector<HotKeyModifier> normalizedModifiers(std::vector<HotKeyModifier> modifiers);

    // The modifiers' labels in stored order, then the key label: "Super+Shift+L".
    std::string displayLabel() const;

    template <class J>
    J toJson() const {
        J object = J::object();
        object["keyCode"] = keyCode;
        object["keyLabel"] = keyLabel;
        object["modifiers"] = encodeValue<J>(modifiers);
        return object;
    }

    template <class J>
    static HotKeyCombination fromJson(const J& object) {
        HotKeyCombination combination;
        combination.keyCode = requireKey<std::uint32_t>(object, "keyCode");
        combination.keyLabel = requireKey<std::string>(object, "keyLabel");
        combination.modifiers = requireKey<std::vector<HotKeyModifier>>(object, "modifiers");
        return combination;
    }

    bool operator==(const HotKeyCombination&) const = default;
};

}  // namespace quorvane
