#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "services/persistence/record_write_stamp.hpp"

namespace quorvane {

// Stamp lines decoded once, kept by their very bytes: one save reads the
// same stamps several times (the look before the lock, the load under it,
// the merge, the check after), and decoding them again each time was the
// largest part of what a repeated command spent on its record. A line's
// decoding depends on its bytes alone, so a kept one is the same answer.
// Safe to share between threads.
class RecordWriteStampDecoder {
  public:
    std::optional<RecordWriteStamp> decode(std::string_view line) const;

  private:
    // A few files' stamps, two lines each; forgotten past that.
    static constexpr std::size_t kRememberedLines = 8;
    mutable std::mutex mutex_;
    mutable std::map<std::string, std::optional<RecordWriteStamp>, std::less<>> decoded_;
};

}  // namespace quorvane
