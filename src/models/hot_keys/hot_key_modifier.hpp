#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvane {

// A modifier key held with a global hot key. The case order is also the sort
// order and the order in which labels show them: control, option, command, shift.
enum class HotKeyModifier { control, option, command, shift };

inline constexpr std::array<HotKeyModifier, 4> kAllHotKeyModifiers = {
    HotKeyModifier::control, HotKeyModifier::option, HotKeyModifier::command,
    HotKeyModifier::shift};

std::string_view caseName(HotKeyModifier modifier);
std::optional<HotKeyModifier> parseCaseName(std::string_view text, HotKeyModifier*);

// The modifier as it appears in a label shown to the user, with the desktop's
// own names: "Ctrl+", "Alt+" (option), "Super+" (command), "Shift+".
std::string_view symbol(HotKeyModifier modifier);

// The modifier bit that stored settings files associate with the modifier;
// a combination's mask is the bitwise OR of its modifiers' bits.
std::uint32_t carbonMask(HotKeyModifier modifier);

}  // namespace quorvane
