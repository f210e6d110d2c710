#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace quorvane {

// Tells which of a few files in the defaults folder were written, by this
// process or any other: a file renamed into place (an atomic save), or one
// written in place and closed (a copy made by hand). Files being written,
// temporary files and removals are not told. Nothing is read here; the
// owner reads the named files again and decides what changed.
//
// Owned by one thread, which waits for descriptor() to become readable (an
// event loop's notifier) and then calls takeChangedFiles().
class DefaultsFolderWatcher {
  public:
    // The folder must exist; without it (or without inotify) nothing is told.
    DefaultsFolderWatcher(const std::filesystem::path& folder, std::set<std::string> fileNames);
    ~DefaultsFolderWatcher();
    DefaultsFolderWatcher(const DefaultsFolderWatcher&) = delete;
    DefaultsFolderWatcher& operator=(const DefaultsFolderWatcher&) = delete;

    bool watching() const { return watch_ >= 0; }
    // Readable while changes wait to be taken; -1 when not watching.
    int descriptor() const { return fd_; }
    // The watched names written since the last call; never blocks.
    std::set<std::string> takeChangedFiles();

  private:
    std::set<std::string> fileNames_;
    int fd_ = -1;
    int watch_ = -1;
};

}  // namespace quorvane
