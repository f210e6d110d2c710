#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/linux/icc_profile_library.hpp"

namespace quorvane {

// The display profiles below a set of directories, read again only when a
// profile file came, went or changed (its size or modification time). Every
// refresh asks for the profiles of every display; without this each ask read
// and parsed every file anew. Callers on several threads take turns.
class IccDisplayProfileCache {
  public:
    explicit IccDisplayProfileCache(std::vector<std::filesystem::path> directories);

    std::vector<IccProfileFile> profiles();

  private:
    std::vector<std::filesystem::path> directories_;
    std::mutex mutex_;
    // What the files looked like when `profiles_` was read; none before the
    // first read.
    std::optional<std::vector<IccProfileFileStamp>> stamps_;
    std::vector<IccProfileFile> profiles_;
};

}  // namespace quorvane
