#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "models/coding/date_coding.hpp"
#include "models/settings/quorvane_preferences.hpp"
#include "models/settings/quorvane_settings_document.hpp"

namespace quorvane {

// An export that cannot be written as JSON (a number with no JSON form).
class QuorvaneSettingsDocumentEncodingError : public std::runtime_error {
  public:
    QuorvaneSettingsDocumentEncodingError()
        : std::runtime_error("설정을 JSON 형식으로 기록할 수 없어 내보내지 못했습니다.") {}
    std::string description() const { return what(); }
};

// Writes and reads settings documents: pretty-printed JSON with every
// object's keys sorted and dates as ISO 8601 text in UTC.
struct QuorvaneSettingsDocumentCoder {
    // The document an export writes: this application, version 1, `now`.
    static QuorvaneSettingsDocument exportDocument(const QuorvanePreferences& preferences,
                                                   Date now);

    // Throws QuorvaneSettingsDocumentEncodingError when the record holds a
    // number JSON cannot express.
    std::string encode(const QuorvaneSettingsDocument& document) const;

    // The preferences of a valid document. Throws only
    // QuorvaneSettingsDocumentError: a foreign app name is reported before a
    // version, and everything that does not decode is invalidData.
    QuorvanePreferences decode(std::string_view data) const;
};

}  // namespace quorvane
