#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/interfaces/defaults_storing.hpp"

namespace quorvane {

// User defaults kept in memory for tests, with the same key rules as the
// file store, a switch that makes writes fail and keys that read as
// unreadable. Copies kept aside are stored as "<key>.json.unreadable-<n>".
class InMemoryDefaultsStore final : public DefaultsStoring {
  public:
    DefaultsReadResult read(std::string_view key) const override;
    SaveOutcome setData(std::string_view key, std::string_view bytes) override;
    SaveOutcome keepCopyAside(std::string_view key, std::string_view bytes) override;
    bool removeKey(std::string_view key) override;
    DefaultsLock lockExclusively() override;

    // While set, writes and removals fail and leave the stored values alone.
    void setFailsWrites(bool fails);
    // The key reads as stored-but-unreadable and refuses to be replaced.
    void setUnreadable(std::string_view key);
    // The key reads again (a passing read error is over).
    void clearUnreadable(std::string_view key);
    std::size_t writeCount() const;
    // How many locks are held right now.
    int lockDepth() const;
    std::map<std::string, std::string> contents() const;

  private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string, std::less<>> values_;
    std::set<std::string, std::less<>> unreadable_;
    bool failsWrites_ = false;
    std::size_t writeCount_ = 0;
    std::size_t copyCount_ = 0;
    int lockDepth_ = 0;
};

}  // namespace quorvane
