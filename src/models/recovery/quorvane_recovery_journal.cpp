#include "models/recovery/quorvane_recovery_journal.hpp"

#include <iterator>

namespace quorvane {

void QuorvaneRecoveryJournal::append(QuorvaneRecoveryJournalEntry entry) {
    entries.insert(entries.begin(), std::move(entry));
    if (entries.size() > kMaximumEntries) {
        entries.erase(std::next(entries.begin(), kMaximumEntries), entries.end());
    }
}

std::string QuorvaneRecoveryJournal::encoded() const {
    return dumpJson(toJson<OrderedJson>());
}

QuorvaneRecoveryJournal QuorvaneRecoveryJournal::decoded(std::string_view bytes) {
    const Json root = parseJson(bytes);
    if (!root.is_object())
        throw JsonDecodeError("JSON decode failed: expected an object");
    return fromJson(root);
}

}  // namespace quorvane
