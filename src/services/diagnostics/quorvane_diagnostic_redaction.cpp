#include <utf8proc.h>

#include <algorithm>
#include <set>

#include "models/coding/number_format.hpp"
#include "models/coding/unicode_text.hpp"
#include "models/ddc/ddc_vcp_code.hpp"
#include "models/display/display_identity.hpp"
#include "services/diagnostics/quorvane_diagnostic_report_builder.hpp"
#include "services/diagnostics/regular_expression.hpp"

namespace quorvane {

namespace {

// User-perceived characters (extended grapheme clusters), so a token's length
// does not depend on how many bytes or combining marks spell it.
std::size_t characterCount(std::string_view text) {
    const auto scalars = utf8Scalars(text);
    if (scalars.empty())
        return 0;
    std::size_t count = 1;
    utf8proc_int32_t state = 0;
    for (std::size_t i = 1; i < scalars.size(); ++i) {
        if (utf8proc_grapheme_break_stateful(static_cast<utf8proc_int32_t>(scalars[i - 1]),
                                             static_cast<utf8proc_int32_t>(scalars[i]), &state)) {
            ++count;
        }
    }
    return count;
}

std::string replacingOccurrences(std::string text, std::string_view token,
                                 std::string_view replacement) {
    std::string out;
    std::size_t searchFrom = 0;
    for (std::size_t found = text.find(token); found != std::string::npos;
         found = text.find(token, searchFrom)) {
        out.append(text, searchFrom, found - searchFrom);
        out.append(replacement);
        searchFrom = found + token.size();
    }
    if (searchFrom == 0)
        return text;
    out.append(text, searchFrom, std::string::npos);
    return out;
}

struct ValueFragmentPass {
    RegularExpression pattern;
    std::string_view replacement;
};

// In order; each pass works on the result of the one before.
const std::vector<ValueFragmentPass>& valueFragmentPasses() {
    static const std::vector<ValueFragmentPass> passes = [] {
        std::vector<ValueFragmentPass> list;
        // A colon with its number (and percent sign) goes away entirely.
        list.push_back({RegularExpression(R"(:\s*\d+(?:\.\d+)?\s*%?)"), ""});
        // A number after 요청, 확인 or 값 is replaced; the word stays.
        list.push_back(
            {RegularExpression(R"((요청|확인|값)\s+\d+(?:\.\d+)?)"), "$1 [redacted-value]"});
        // Percentages.
        list.push_back({RegularExpression(R"(\d+(?:\.\d+)?\s*%)"), "[redacted-value]"});
        // A number that starts a word and runs into a unit ("60Hz").
        list.push_back({RegularExpression(R"((?<![A-Za-z0-9])\d+(?:\.\d+)?(?=[A-Za-z]))"),
                        "[redacted-value]"});
        // A free-standing number.
        list.push_back({RegularExpression(R"((?<![A-Za-z0-9])\d+(?:\.\d+)?(?![A-Za-z0-9]))"),
                        "[redacted-value]"});
        // Any digits left, such as those glued behind letters.
        list.push_back({RegularExpression(R"(\d+(?:\.\d+)?)"), "[redacted-value]"});
        // A colon left dangling at the very end.
        list.push_back({RegularExpression(R"(:\s*$)"), ""});
        return list;
    }();
    return passes;
}

}  // namespace

std::string QuorvaneDiagnosticReportBuilder::redactingFreeText(
    std::string_view text, const std::vector<std::string>& redactionTokens,
    const HomeFolderPathRedactor& homeFolders) {
    std::string result(text);
    for (const auto& token : redactionTokens) {
        if (token.empty())
            continue;
        result = replacingOccurrences(std::move(result), token, kRedactedToken);
    }
    return homeFolders.redactingPaths(result);
}

std::string QuorvaneDiagnosticReportBuilder::redactingValueFragmentsFromFreeText(
    std::string_view text) {
    std::string result(text);
    for (const auto& pass : valueFragmentPasses())
        result = pass.pattern.replacingMatches(result, pass.replacement);
    return trimWhitespaceAndNewlines(result);
}

std::vector<std::string> QuorvaneDiagnosticReportBuilder::redactionTokens(
    const std::vector<DisplaySnapshot>& displays, const DDCCapabilityCache& capabilityCache,
    const std::vector<std::string>& additionalTokens) {
    std::vector<std::string> tokens;
    for (const auto& display : displays) {
        tokens.push_back(display.name);
        tokens.push_back(DisplayIdentity::of(display).rawValue);
        tokens.push_back(DDCCapabilityCacheKey::connectionFingerprintFor(display));
        if (display.serialNumber != 0)
            tokens.push_back(formatDecimal(display.serialNumber));
    }
    for (const auto& [identity, entry] : capabilityCache.entriesByDisplayIdentity) {
        // The map key is the identity too; a hand-edited cache could differ.
        tokens.push_back(identity);
        tokens.push_back(entry.key.displayIdentityRawValue);
        tokens.push_back(entry.key.connectionFingerprint);
    }
    tokens.insert(tokens.end(), additionalTokens.begin(), additionalTokens.end());
    return sortedRedactionTokens(std::move(tokens));
}

bool QuorvaneDiagnosticReportBuilder::statusMessageHasDDCWriteContext(
    std::string_view statusMessage, const DDCWriteStatuses& ddcWriteStatuses) {
    return std::any_of(ddcWriteStatuses.begin(), ddcWriteStatuses.end(), [&](const auto& entry) {
        return entry.second.message && *entry.second.message == statusMessage;
    });
}

bool QuorvaneDiagnosticReportBuilder::containsDDCLabel(std::string_view text) {
    return std::any_of(kAllDDCVCPCodes.begin(), kAllDDCVCPCodes.end(), [&](DDCVCPCode code) {
        return text.find(label(code)) != std::string_view::npos;
    });
}

std::vector<std::string> QuorvaneDiagnosticReportBuilder::sortedRedactionTokens(
    std::vector<std::string> tokens) {
    std::set<std::string> unique(std::make_move_iterator(tokens.begin()),
                                 std::make_move_iterator(tokens.end()));
    unique.erase(std::string());
    std::vector<std::pair<std::size_t, std::string>> byLength;
    byLength.reserve(unique.size());
    for (const auto& token : unique)
        byLength.emplace_back(characterCount(token), token);
    std::stable_sort(byLength.begin(), byLength.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::string> sorted;
    sorted.reserve(byLength.size());
    for (auto& entry : byLength)
        sorted.push_back(std::move(entry.second));
    return sorted;
}

}  // namespace quorvane
