#pragma once

#include <unistd.h>

#include <string>
#include <utility>

namespace quorvane {

// Removes a temporary file when it goes out of scope, unless release() says
// the file was moved into place.
class TemporaryFileGuard {
  public:
    explicit TemporaryFileGuard(std::string path) : path_(std::move(path)) {}
    ~TemporaryFileGuard() {
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;
    void release() { path_.clear(); }

  private:
    std::string path_;
};

}  // namespace quorvane
