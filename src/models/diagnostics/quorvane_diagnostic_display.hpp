#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "models/coding/json_coding.hpp"
#include "models/diagnostics/quorvane_diagnostic_color_profile_state.hpp"
#include "models/diagnostics/quorvane_diagnostic_ddc_state.hpp"
#include "models/display/display_rect.hpp"

namespace quorvane {

// Whether a display reports a serial number; the number itself is never written.
struct QuorvaneDiagnosticSerial {
    std::string status;  // "present-redacted" or "missing"
    bool isReliable = false;

    Json toJson() const;
    static QuorvaneDiagnosticSerial fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticSerial&) const = default;
};

// A display frame in whole points of the global display space.
struct QuorvaneDiagnosticBounds {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;

    // From the standardised frame, each value truncated toward zero; a value
    // that is not finite counts as 0 and one beyond the 64-bit range is
    // clamped to it.
    static QuorvaneDiagnosticBounds make(const DisplayRect& bounds);

    Json toJson() const;
    static QuorvaneDiagnosticBounds fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticBounds&) const = default;
};

// The display's current mode.
struct QuorvaneDiagnosticDisplayMode {
    std::string label;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t pixelWidth = 0;
    std::int64_t pixelHeight = 0;
    double refreshRate = 0;

    // Throws std::domain_error for a refresh rate that is not finite: JSON
    // has no number for it, and writing null would break the format.
    Json toJson() const;
    static QuorvaneDiagnosticDisplayMode fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticDisplayMode&) const = default;
};

// One active display of the report.
struct QuorvaneDiagnosticDisplay {
    std::string reportID;  // "Display N"
    std::string displayName;
    std::string displayKind;  // "built-in" or "external"
    bool isMain = false;
    bool isBuiltin = false;
    std::optional<std::uint32_t> vendorNumber;
    std::optional<std::uint32_t> modelNumber;
    QuorvaneDiagnosticSerial serial;
    std::optional<QuorvaneDiagnosticBounds> bounds;
    std::optional<QuorvaneDiagnosticDisplayMode> currentMode;
    bool hardwareBrightnessAvailable = false;
    std::optional<QuorvaneDiagnosticColorProfileState> colorProfile;
    QuorvaneDiagnosticDDCState ddc;

    Json toJson() const;
    static QuorvaneDiagnosticDisplay fromJson(const Json& object);

    bool operator==(const QuorvaneDiagnosticDisplay&) const = default;
};

}  // namespace quorvane
