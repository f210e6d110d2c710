#pragma once

#include <string>

#include "models/diagnostics/quorvane_diagnostic_report.hpp"

namespace quorvane {

// The one report encoder the store holds for the run: pretty-printed UTF-8
// JSON with sorted keys at every level, ISO 8601 dates in whole seconds, and
// forward slashes escaped as "\/". It holds no decoder.
struct QuorvaneDiagnosticReportCoder {
    // The encoded document. Throws std::domain_error when a number cannot be
    // written (a refresh rate that is not finite); no partial text is made.
    std::string encode(const QuorvaneDiagnosticReport& report) const;
};

}  // namespace quorvane
