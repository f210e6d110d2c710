#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace quorvane {

// Tells which of a few files in the defaults folder were written or
// removed, by this process or any other: a file renamed into place (an
// atomic save) or written in place and closed (a copy made by hand, an
// editor saving in place) is written; a file deleted or renamed away (an
// editor's backup, a reset by hand) is removed. Files being written and
// temporary files are not told. Nothing is read here; the owner reads the
// named files again and decides what changed.
//
// The watch outlives the folder: removed (with the files in it) or renamed
// away, the folder's files are told as removed, and the watch moves to the
// nearest folder above it that is there, until the folder is made again;
// then its files are told as written, since some may be there already.
//
// Owned by one thread, which waits for descriptor() to become readable (an
// event loop's notifier) and then calls takeChanges().
class DefaultsFolderWatcher {
  public:
    struct Changes {
        std::set<std::string> written;
        std::set<std::string> removed;

        bool operator==(const Changes&) const = default;
        bool empty() const { return written.empty() && removed.empty(); }
    };

    // The folder need not exist; without inotify nothing is told.
    DefaultsFolderWatcher(std::filesystem::path folder, std::set<std::string> fileNames);
    ~DefaultsFolderWatcher();
    DefaultsFolderWatcher(const DefaultsFolderWatcher&) = delete;
    DefaultsFolderWatcher& operator=(const DefaultsFolderWatcher&) = delete;

    bool watching() const { return fd_ >= 0 && (folderWatch_ >= 0 || aboveWatch_ >= 0); }
    // Readable while changes wait to be taken; -1 when not watching.
    int descriptor() const { return fd_; }
    // The watched names written or removed since the last call; never
    // blocks. A name both removed and written again is told as written.
    Changes takeChanges();

  private:
    // Watches the folder when it is there, and the folder above the
    // nearest part of its path that is there; true when the folder is.
    bool watchFolder();
    void dropWatches();

    std::filesystem::path folder_;
    std::set<std::string> fileNames_;
    int fd_ = -1;
    int folderWatch_ = -1;
    // The nearest folder above the defaults folder that is there, and the
    // name in it on the way to the defaults folder.
    int aboveWatch_ = -1;
    std::string nameAbove_;
};

}  // namespace quorvane
