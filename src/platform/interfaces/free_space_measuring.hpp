#pragma once

#include <cstdint>
#include <optional>

namespace quorvane {

// How much room the file system of the user's records has left for this
// user. Asked off the windows' thread: on a network home it may block.
class FreeSpaceMeasuring {
  public:
    virtual ~FreeSpaceMeasuring() = default;
    // The bytes this user may still write there; none when it cannot be told.
    virtual std::optional<std::uint64_t> freeBytes() const = 0;
};

}  // namespace quorvane
