#pragma once

#include <filesystem>

#include "platform/interfaces/free_space_measuring.hpp"

namespace quorvane {

// The room statvfs() reports for unprivileged writers on the file system of
// `folder`, or of its nearest existing parent while the folder is not made
// yet. A user's quota is not in it: there the room seen only grows when
// files are removed.
class StatvfsFreeSpaceMeter final : public FreeSpaceMeasuring {
  public:
    explicit StatvfsFreeSpaceMeter(std::filesystem::path folder);
    std::optional<std::uint64_t> freeBytes() const override;

  private:
    std::filesystem::path folder_;
};

}  // namespace quorvane
