#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/interfaces/defaults_storing.hpp"
#include "platform/interfaces/preferences_storing.hpp"
#include "services/persistence/undecodable_record_keeper.hpp"

namespace quorvane {

// The preferences record as one compact JSON blob in the user's defaults.
// The application and the command line build it alike, so both read and
// write the same blob.
class UserDefaultsPreferencesStore final : public PreferencesStoring {
  public:
    static constexpr std::string_view kCorruptionNotice =
        "저장된 설정을 읽지 못해 기본값으로 복구했습니다.";

    // "org.quorvane.Quorvane.preferences.v1"
    static std::string standardStorageKey();

    // The notice after a save that kept the undecodable record aside.
    static std::string keptCopyNotice(const std::string& copyName);
    // Its naming of the copy alone, for a reader told kCorruptionNotice at
    // the load already.
    static std::string keptCopyNamed(const std::string& copyName);

    UserDefaultsPreferencesStore(std::shared_ptr<DefaultsStoring> defaults,
                                 std::string storageKey = standardStorageKey());

    const std::string& storageKey() const { return storageKey_; }

    PreferencesLoadResult loadResult() const override;
    using PreferencesStoring::save;
    SaveOutcome save(const QuorvanePreferences& preferences,
                     const TouchedRecordParts& touched) override;
    std::optional<DefaultsStoreError> lastReadError() const override;
    TouchedRecordParts lastLoadRequests() const override;
    // Reads the record without decoding it.
    TouchedRecordParts loadRequests() const override;
    bool mayHoldOthersSave() const override;
    DefaultsLock lockExclusively() override;
    std::string lockFilePath() const override { return defaults_->lockFilePath(); }
    DefaultsLock tryLockExclusively() override;

  private:
    // The stored record, its read error and requests noted as the last load's.
    DefaultsReadResult readRecord() const;

    std::shared_ptr<DefaultsStoring> defaults_;
    std::string storageKey_;
    UndecodableRecordKeeper undecodable_;
    mutable std::mutex mutex_;
    mutable std::optional<DefaultsStoreError> lastReadError_;
    mutable TouchedRecordParts lastLoadRequests_;
};

}  // namespace quorvane
