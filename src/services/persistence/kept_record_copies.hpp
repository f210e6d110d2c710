#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/interfaces/save_outcome.hpp"

namespace quorvane {

// The copies of one record kept aside in its folder, each under a dated
// name of its own, "<file name>.unreadable-<UTC date and time>" (with
// "-<attempt>" for a later copy in the same second), never replacing an
// earlier copy. Older ones are removed as newer ones come, so broken
// records coming back can never fill the disk.
class KeptRecordCopies {
  public:
    static constexpr std::size_t kPerRecord = 3;

    // Writes all of `bytes` to a new file's open descriptor: false with
    // errno set.
    using WriteCall =
        std::function<bool(const std::filesystem::path& file, int fd, std::string_view bytes)>;

    // The copies of the record `recordFileName` in `folder`.
    KeptRecordCopies(std::filesystem::path folder, std::string_view recordFileName);

    // Keeps `bytes` aside through `write`, synced, in a copy the outcome
    // names, dated `now`. Bytes one of the copies already holds are not
    // copied again (the outcome names that copy), and only the newest
    // kPerRecord copies stay.
    SaveOutcome keep(std::string_view bytes, const WriteCall& write,
                     std::chrono::system_clock::time_point now) const;

  private:
    std::filesystem::path folder_;
    std::string recordFileName_;
};

}  // namespace quorvane
