#include "models/diagnostics/quorvane_diagnostic_report_preview.hpp"

#include <cstdint>
#include <string_view>

#include "models/coding/uuid_text.hpp"

namespace quorvane {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

struct ByteRange {
    std::uint8_t low;
    std::uint8_t high;
};

// The allowed range of the second byte of a well-formed sequence, by lead
// byte (Unicode table 3-7); later continuation bytes are always 80...BF.
ByteRange secondByteRange(std::uint8_t lead) {
    switch (lead) {
        case 0xE0:
            return {0xA0, 0xBF};
        case 0xED:
            return {0x80, 0x9F};
        case 0xF0:
            return {0x90, 0xBF};
        case 0xF4:
            return {0x80, 0x8F};
        default:
            return {0x80, 0xBF};
    }
}

// Length of the sequence a lead byte starts; 0 for a byte that starts none.
size_t sequenceLength(std::uint8_t lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// How many bytes from `start` form a well-formed sequence (its full length)
// or the maximal ill-formed prefix (negative count of bytes to skip).
long wellFormedLength(std::string_view bytes, size_t start) {
    const auto lead = static_cast<std::uint8_t>(bytes[start]);
    const size_t length = sequenceLength(lead);
    if (length == 0)
        return -1;
    for (size_t i = 1; i < length; ++i) {
        if (start + i >= bytes.size())
            return -static_cast<long>(i);
        const auto byte = static_cast<std::uint8_t>(bytes[start + i]);
        const ByteRange range = i == 1 ? secondByteRange(lead) : ByteRange{0x80, 0xBF};
        if (byte < range.low || byte > range.high)
            return -static_cast<long>(i);
    }
    return static_cast<long>(length);
}

}  // namespace

QuorvaneDiagnosticReportPreview QuorvaneDiagnosticReportPreview::make(
    std::string data, QuorvaneDiagnosticPrivacyMode privacyMode) {
    return QuorvaneDiagnosticReportPreview{newUuidText(), std::move(data), privacyMode};
}

std::string QuorvaneDiagnosticReportPreview::text() const {
    std::string out;
    out.reserve(data.size());
    size_t position = 0;
    while (position < data.size()) {
        const long length = wellFormedLength(data, position);
        if (length > 0) {
            out.append(data, position, static_cast<size_t>(length));
            position += static_cast<size_t>(length);
        } else {
            out.append(kReplacementCharacter);
            position += static_cast<size_t>(-length);
        }
    }
    return out;
}

}  // namespace quorvane
