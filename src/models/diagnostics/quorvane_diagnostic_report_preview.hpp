#pragma once

#include <string>

#include "models/diagnostics/quorvane_diagnostic_privacy_mode.hpp"

namespace quorvane {

// One encoded report waiting in the settings window's preview sheet. Its
// identity is `id`: a new preview, even of identical bytes, is presented
// afresh.
struct QuorvaneDiagnosticReportPreview {
    std::string id;    // a fresh random UUID per preview
    std::string data;  // the coder's bytes, saved byte for byte
    QuorvaneDiagnosticPrivacyMode privacyMode = QuorvaneDiagnosticPrivacyMode::privacyPreserving;

    // A preview of `data` with a new random identifier.
    static QuorvaneDiagnosticReportPreview make(std::string data,
                                                QuorvaneDiagnosticPrivacyMode privacyMode);

    // `data` as UTF-8 text; each ill-formed sequence shows as one U+FFFD.
    std::string text() const;

    bool operator==(const QuorvaneDiagnosticReportPreview&) const = default;
};

}  // namespace quorvane
