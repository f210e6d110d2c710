#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Whether some process holds a lock on a file, as the kernel's table of
// locks (/proc/locks) tells every user, without opening the file: a file
// this user may not open may still be another user's lock, held. The table
// names a file by its file system's device and its number; it lists flock,
// POSIX and open-file-description locks alike, and processes waiting for a
// lock ("->" lines), which count as holders too: any of them keeps the file
// held. A table that cannot be read, or a line of it that cannot, tells
// nothing, and nothing is then taken for free.
//
// Not listed, so never seen: a lock held by a process of another PID
// namespace (a container), one whose taker has ended while a child it
// passed the file to holds it, when the table is read from inside a
// namespace, and one held from another machine on a network file system.
class FileLockTable {
  public:
    static constexpr std::string_view kPath = "/proc/locks";

    // A file as the table may name it.
    struct File {
        // The devices the table may give it: the one a look at the file
        // tells, and the one its file system is mounted with (a btrfs
        // subvolume or an overlay tells another). Empty: any device.
        std::vector<dev_t> devices;
        ino_t number = 0;
    };

    enum class Holding { none, held, untellable };
    struct Answer {
        Holding holding = Holding::untellable;
        // Why it is untellable.
        std::string why;
    };

    explicit FileLockTable(std::filesystem::path table = std::filesystem::path(kPath))
        : table_(std::move(table)) {}

    // The file at `path`, never followed nor opened; none when nothing is
    // there.
    static std::optional<File> fileAt(const std::filesystem::path& path);
    // What the table's `text` tells of `file`.
    static Holding holdingIn(std::string_view text, const File& file);
    // The processes the table's `text` names holding `file` or waiting for
    // it, as the table numbers them (-1 for an open-file-description lock,
    // which no process owns).
    static std::vector<pid_t> holdersIn(std::string_view text, const File& file);

    // Reads the table now.
    Answer holding(const File& file) const;
    // The same, by process; none where the table cannot be read.
    std::vector<pid_t> holders(const File& file) const;

  private:
    // The table's text; none (errno set) where it cannot be read.
    std::optional<std::string> text() const;
    std::filesystem::path table_;
};

}  // namespace quorvane
