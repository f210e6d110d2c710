#pragma once

#include <cstdint>
#include <string>

#include "models/coding/date_coding.hpp"
#include "models/coding/json_coding.hpp"
#include "models/settings/quorvane_preferences.hpp"

namespace quorvane {

// The file a user moves settings between machines with: an envelope around
// the whole preferences record.
struct QuorvaneSettingsDocument {
    static constexpr std::string_view kAppName = "Quorvane";
    static constexpr std::int64_t kDocumentVersion = 1;

    std::string appName{kAppName};
    std::int64_t documentVersion = kDocumentVersion;
    Date exportedAt;
    QuorvanePreferences preferences;

    bool operator==(const QuorvaneSettingsDocument&) const = default;

    template <class J>
    J toJson() const {
        J object = J::object();
        object["appName"] = appName;
        object["documentVersion"] = documentVersion;
        object["exportedAt"] = formatIso8601(exportedAt);
        object["preferences"] = preferences.toJson<J>();
        return object;
    }

    // All four keys are required; inside `preferences` the record's own
    // lenient rules apply.
    template <class J>
    static QuorvaneSettingsDocument fromJson(const J& object) {
        QuorvaneSettingsDocument document;
        document.appName = requireKey<std::string>(object, "appName");
        document.documentVersion = requireKey<std::int64_t>(object, "documentVersion");
        document.exportedAt = requireDateKey(object, "exportedAt");
        document.preferences = requireKey<QuorvanePreferences>(object, "preferences");
        return document;
    }
};

}  // namespace quorvane
