#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/interfaces/defaults_storing.hpp"

namespace quorvane {

// User defaults kept in memory for tests, with the same key rules as the
// file store and a switch that makes writes fail.
class InMemoryDefaultsStore final : public DefaultsStoring {
  public:
    std::optional<std::string> dataForKey(std::string_view key) const override;
    bool setData(std::string_view key, std::string_view bytes) override;
    bool removeKey(std::string_view key) override;

    // While set, writes and removals fail and leave the stored values alone.
    void setFailsWrites(bool fails);
    std::size_t writeCount() const;
    std::map<std::string, std::string> contents() const;

  private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string, std::less<>> values_;
    bool failsWrites_ = false;
    std::size_t writeCount_ = 0;
};

}  // namespace quorvane
