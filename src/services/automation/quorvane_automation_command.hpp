#pragma once

#include <string>

namespace quorvane {

// Where an automation preset goes: one display (by selector: a display ID or
// an identity raw value) or every visible display.
struct QuorvaneAutomationTarget {
    enum class Kind { display, allVisible };

    Kind kind = Kind::allVisible;
    std::string selector;  // only for `display`

    static QuorvaneAutomationTarget display(std::string selector) {
        return {Kind::display, std::move(selector)};
    }
    static QuorvaneAutomationTarget allVisible() { return {Kind::allVisible, {}}; }

    bool operator==(const QuorvaneAutomationTarget&) const = default;
};

struct QuorvaneAutomationCommand {
    enum class Kind { applySafePreset, open, diagnostics };

    Kind kind = Kind::open;
    std::string presetQuery;          // only for `applySafePreset`
    QuorvaneAutomationTarget target;  // only for `applySafePreset`

    static QuorvaneAutomationCommand applySafePreset(std::string presetQuery,
                                                     QuorvaneAutomationTarget target) {
        return {Kind::applySafePreset, std::move(presetQuery), std::move(target)};
    }
    static QuorvaneAutomationCommand open() { return {Kind::open, {}, {}}; }
    static QuorvaneAutomationCommand diagnostics() { return {Kind::diagnostics, {}, {}}; }

    bool operator==(const QuorvaneAutomationCommand&) const = default;
};

}  // namespace quorvane
