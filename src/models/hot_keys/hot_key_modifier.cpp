#include "models/hot_keys/hot_key_modifier.hpp"

namespace quorvane {

std::string_view caseName(HotKeyModifier modifier) {
    switch (modifier) {
        case HotKeyModifier::control:
            return "control";
        case HotKeyModifier::option:
            return "option";
        case HotKeyModifier::command:
            return "command";
        case HotKeyModifier::shift:
            return "shift";
    }
    return "control";
}

std::optional<HotKeyModifier> parseCaseName(std::string_view text, HotKeyModifier*) {
    for (HotKeyModifier modifier : kAllHotKeyModifiers) {
        if (caseName(modifier) == text)
            return modifier;
    }
    return std::nullopt;
}

std::string_view symbol(HotKeyModifier modifier) {
    switch (modifier) {
        case HotKeyModifier::control:
            return "Ctrl+";
        case HotKeyModifier::option:
            return "Alt+";
        case HotKeyModifier::command:
            return "Super+";
        case HotKeyModifier::shift:
            return "Shift+";
    }
    return "";
}

std::uint32_t carbonMask(HotKeyModifier modifier) {
    switch (modifier) {
        case HotKeyModifier::control:
            return 0x1000;
        case HotKeyModifier::option:
            return 0x0800;
        case HotKeyModifier::command:
            return 0x0100;
        case HotKeyModifier::shift:
            return 0x0200;
    }
    return 0;
}

}  // namespace quorvane
