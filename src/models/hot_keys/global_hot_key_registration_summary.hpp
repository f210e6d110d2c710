#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane {

// One hot key the system refused, with the status it returned.
struct GlobalHotKeyRegistrationFailure {
    std::string bindingID;
    // The combination's displayLabel.
    std::string hotKeyLabel;
    std::int32_t statusCode = 0;

    // "<label> 등록 실패(<status>)".
    std::string message() const;

    bool operator==(const GlobalHotKeyRegistrationFailure&) const = default;
};

// The outcome of registering a list of hot keys.
struct GlobalHotKeyRegistrationSummary {
    // Enabled bindings handed in.
    int requestedCount = 0;
    int registeredCount = 0;
    std::vector<GlobalHotKeyRegistrationFailure> failures;
    // The registrar always reports true; the store sets false for a hot-key
    // family that is switched off.
    bool isEnabled = true;

    bool operator==(const GlobalHotKeyRegistrationSummary&) const = default;
};

}  // namespace quorvane
