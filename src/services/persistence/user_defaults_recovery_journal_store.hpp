#pragma once

#include <memory>
#include <string>

#include "platform/interfaces/defaults_storing.hpp"
#include "platform/interfaces/quorvane_recovery_journal_storing.hpp"

namespace quorvane {

// The recovery journal as one compact JSON blob in the user's defaults.
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
};

}  // namespace quorvane
