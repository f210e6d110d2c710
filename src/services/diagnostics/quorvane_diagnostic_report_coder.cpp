#include "services/diagnostics/quorvane_diagnostic_report_coder.hpp"

namespace quorvane {

namespace {

constexpr int kIndentWidth = 2;

// A slash can only occur inside JSON strings (and never inside a multi-byte
// UTF-8 sequence), so escaping every one keeps the document valid.
std::string escapingSlashes(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '/')
            out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

}  // namespace

std::string QuorvaneDiagnosticReportCoder::encode(const QuorvaneDiagnosticReport& report) const {
    return escapingSlashes(dumpJson(report.toJson(), kIndentWidth));
}

}  // namespace quorvane
