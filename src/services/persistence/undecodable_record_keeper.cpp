#include "services/persistence/undecodable_record_keeper.hpp"

namespace quorvane {

SaveOutcome UndecodableRecordKeeper::keepAsideBeforeSave(DefaultsStoring& defaults,
                                                         const std::string& key) {
    if (!seen_)
        return SaveOutcome::saved();
    // The save keeps them aside itself, in its own write: a copy that cannot
    // be made then fails that write, which is held and retried like any
    // other, instead of failing here, where nothing would hold the change.
    if (defaults.keepsUndecodableAside(key)) {
        seen_ = false;
        return SaveOutcome::saved();
    }
    const auto stored = defaults.read(key);
    auto kept = stored.data && !decodes_(*stored.data) ? defaults.keepCopyAside(key, *stored.data)
                                                       : SaveOutcome::saved();
    if (kept.succeeded())
        seen_ = false;
    return kept;
}

}  // namespace quorvane
