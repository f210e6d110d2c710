#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <sys/stat.h>

#include "platform/interfaces/defaults_store_error.hpp"
#include "services/persistence/record_write_stamp.hpp"

namespace quorvane {

// The latest moment the file's inode may have been changed. Its change time,
// unlike its modification time, is set by the system alone, so a copy that
// keeps an old time (cp -p, tar) is dated by when it was put there. The file
// system's clock may lag the true time by one of its ticks, and some file
// systems count whole seconds (two on FAT): a time without a fraction may
// be up to two seconds short.
Date latestChangeTime(const struct stat& info);

// The stamps kept beside one record (RecordWriteStamp::fileNameFor): one a
// line, the newest first. A write puts its stamp there before its record
// lands, with the stamp of the record it replaces after it, so a reader
// (who takes no lock) finds the stamp of whichever file it opened.
//
// The older stamp describes only a file its birth time or generation shows
// to be the one it was made for: where the file system keeps neither, a file
// that got that file's number back is dated by itself, as one no stamp
// describes (a restore is the later act). No stamp describes a file changed
// more than a moment after the stamps were put in place: it was written
// over or put back since (a restore of the newest write's bytes too).
class RecordWriteStampFile {
  public:
    // A stamp is a few hundred bytes; anything far larger is none.
    static constexpr std::size_t kMaxSize = 1024 * 1024;

    // The stamps of the record `recordFileName` in `folder`.
    RecordWriteStampFile(std::filesystem::path folder, std::string_view recordFileName);

    // The stamp made for the file `file` holding `bytes`, if one is kept,
    // read at `now`. No time in it is later than `now` nor than the moment
    // the stamps' file was put there: a later one was told by a clock that
    // ran ahead (a skewed virtual machine, a clock set by hand) and counts
    // as that moment, whoever reads it or carries it on.
    std::optional<RecordWriteStamp> describing(const RecordFileIdentity& file,
                                               std::string_view bytes, Date now) const;
    // Puts `stamp` first, with `previous` (the stamp of the record it
    // replaces) after it; why not when it could not, and the record is then
    // dated by its file alone. Not synced: a stamp lost to a crash leaves the
    // record dated by its file, as one an older version wrote. A folder at
    // the stamps' name (which no rename can replace) is removed when empty,
    // else moved aside, so it stops no stamp after it.
    std::optional<DefaultsStoreError> write(const RecordWriteStamp& stamp,
                                            const std::optional<RecordWriteStamp>& previous) const;
    void remove() const;

  private:
    // Clears a folder out of the stamps' way.
    void moveFolderAside() const;

    std::filesystem::path folder_;
    std::string recordFileName_;
    std::filesystem::path path_;
};

}  // namespace quorvane
