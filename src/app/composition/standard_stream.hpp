#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// One of the process's standard output streams, written with every byte
// checked: the first failure (a full disk, a closed pipe, a stream closed
// before the start) is remembered so the command can report it instead of
// exiting as if all went well.
class StandardStream {
  public:
    // A descriptor that was closed at start is taken by /dev/null, so no file
    // the command opens later (a settings file, its lock) lands on it and
    // receives the output; writes to the stream then fail as closed.
    explicit StandardStream(int fd);
    StandardStream(const StandardStream&) = delete;
    StandardStream& operator=(const StandardStream&) = delete;

    void write(std::string_view text);
    // The system's reason for the first failed write.
    std::optional<std::string> failure() const;

  private:
    int fd_;
    bool closedAtStart_ = false;
    std::optional<int> error_;
};

}  // namespace quorvane
