#pragma once

#include <string>
#include <vector>

#include "models/coding/date_coding.hpp"
#include "models/coding/json_coding.hpp"
#include "models/coding/uuid_parsing.hpp"
#include "models/recovery/quorvane_recovery_journal_status.hpp"
#include "models/recovery/quorvane_recovery_journal_target.hpp"

namespace quorvane {

// One recorded result of an action that changed what the screens show.
struct QuorvaneRecoveryJournalEntry {
    std::string id;  // UUID text, upper case
    Date createdAt;  // when the action finished; stored with whole seconds
    QuorvaneRecoveryJournalStatus status = QuorvaneRecoveryJournalStatus::applied;
    std::string actionTitle;
    std::string summary;
    std::string detail;
    std::vector<QuorvaneRecoveryJournalTarget> targets;

    bool operator==(const QuorvaneRecoveryJournalEntry&) const = default;

    // "대상 없음", the one target's name, or the count followed by "개 화면".
    std::string targetSummary() const;

    template <class J>
    J toJson() const {
        J object = J::object();
        object["id"] = id;
        object["createdAt"] = formatIso8601(createdAt);
        object["status"] = encodeValue<J>(status);
        object["actionTitle"] = actionTitle;
        object["summary"] = summary;
        object["detail"] = detail;
        object["targets"] = encodeValue<J>(targets);
        return object;
    }

    // Every key is required; `id` must be a UUID and `createdAt` ISO 8601.
    template <class J>
    static QuorvaneRecoveryJournalEntry fromJson(const J& object) {
        QuorvaneRecoveryJournalEntry entry;
        const auto idText = requireKey<std::string>(object, "id");
        auto canonical = canonicalUuidText(idText);
        if (!canonical)
            throw JsonDecodeError("JSON decode failed at 'id': expected a UUID");
        entry.id = std::move(*canonical);
        entry.createdAt = requireDateKey(object, "createdAt");
        entry.status = requireKey<QuorvaneRecoveryJournalStatus>(object, "status");
        entry.actionTitle = requireKey<std::string>(object, "actionTitle");
        entry.summary = requireKey<std::string>(object, "summary");
        entry.detail = requireKey<std::string>(object, "detail");
        entry.targets = requireKey<std::vector<QuorvaneRecoveryJournalTarget>>(object, "targets");
        return entry;
    }
};

}  // namespace quorvane
