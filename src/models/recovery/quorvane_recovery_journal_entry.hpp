#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/coding/date_coding.hpp"
#include "models/coding/json_coding.hpp"
#include "models/coding/uuid_parsing.hpp"
#include "models/recovery/quorvane_recovery_journal_status.hpp"
#include "models/recovery/quorvane_recovery_journal_target.hpp"
#include "models/recovery/recovery_journal_request_time.hpp"

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
    // When the action was asked for, on its writer's request line; none in
    // entries of older versions, which order by `createdAt` alone.
    std::optional<RecoveryJournalRequestTime> requested;

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
        putOptional(object, "requested", requested);
        return object;
    }

    // Every key is required but `requested`; `id` must be a UUID and
    // `createdAt` ISO 8601. A `requested` that does not read is left out:
    // it only orders entries, and the entry stands without it.
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
        try {
            entry.requested = optionalKey<RecoveryJournalRequestTime>(object, "requested");
        } catch (const JsonDecodeError&) {
            entry.requested.reset();
        }
        return entry;
    }
};

}  // namespace quorvane
