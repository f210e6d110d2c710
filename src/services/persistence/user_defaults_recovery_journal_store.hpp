#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "platform/interfaces/defaults_storing.hpp"
#include "platform/interfaces/quorvane_recovery_journal_storing.hpp"
#include "services/persistence/undecodable_record_keeper.hpp"

namespace quorvane {

// The recovery journal as one compact JSON blob in the user's defaults. A
// journal that does not decode is kept aside once before the first save
// replaces it; one that exists but cannot be read is not written over until a
// later load reads it (when it changes, or at the next start).
class UserDefaultsRecoveryJournalStore final : public QuorvaneRecoveryJournalStoring {
  public:
    static constexpr std::string_view kCorruptionNotice =
        "최근 변경 기록을 읽지 못해 새로 시작합니다. 저장된 화면 설정은 그대로 둡니다.";

    // "org.quorvane.Quorvane.recoveryJournal.v1"
    static std::string standardStorageKey();

    UserDefaultsRecoveryJournalStore(std::shared_ptr<DefaultsStoring> defaults,
                                     std::string storageKey = standardStorageKey());

    const std::string& storageKey() const { return storageKey_; }

    QuorvaneRecoveryJournalLoadResult loadResult() const override;
    void save(const QuorvaneRecoveryJournal& journal) override;

  private:
    std::shared_ptr<DefaultsStoring> defaults_;
    std::string storageKey_;
    UndecodableRecordKeeper undecodable_;
    // Set by a load that could not read the stored journal at all.
    mutable std::atomic<bool> unreadable_ = false;
};

}  // namespace quorvane
