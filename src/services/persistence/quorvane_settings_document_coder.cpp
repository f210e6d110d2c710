#include "services/persistence/quorvane_settings_document_coder.hpp"

#include <exception>

#include "models/coding/json_finite_check.hpp"
#include "models/settings/quorvane_settings_document_error.hpp"

namespace quorvane {

QuorvaneSettingsDocument QuorvaneSettingsDocumentCoder::exportDocument(
    const QuorvanePreferences& preferences, Date now) {
    QuorvaneSettingsDocument document;
    document.exportedAt = now;
    document.preferences = preferences;
    return document;
}

std::string QuorvaneSettingsDocumentCoder::encode(const QuorvaneSettingsDocument& document) const {
    const Json json = document.toJson<Json>();
    if (containsNonFiniteNumber(json))
        throw QuorvaneSettingsDocumentEncodingError();
    return dumpJson(json, 2);
}

QuorvanePreferences QuorvaneSettingsDocumentCoder::decode(std::string_view data) const {
    QuorvaneSettingsDocument document;
    try {
        const Json root = parseJson(data);
        if (!root.is_object())
            throw JsonDecodeError("JSON decode failed: expected an object");
        document = QuorvaneSettingsDocument::fromJson(root);
    } catch (const std::exception&) {
        throw QuorvaneSettingsDocumentError::invalidData();
    }
    if (document.appName != QuorvaneSettingsDocument::kAppName) {
        throw QuorvaneSettingsDocumentError::unsupportedAppName(document.appName);
    }
    if (document.documentVersion != QuorvaneSettingsDocument::kDocumentVersion) {
        throw QuorvaneSettingsDocumentError::unsupportedDocumentVersion(document.documentVersion);
    }
    return std::move(document.preferences);
}

}  // namespace quorvane
