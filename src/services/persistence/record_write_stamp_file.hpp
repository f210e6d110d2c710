#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <sys/stat.h>

#include "services/persistence/record_write_stamp.hpp"

namespace quorvane {

// The stamps kept beside one record (RecordWriteStamp::fileNameFor): one a
// line, the newest first. A write puts its stamp there before its record
// lands, with the stamp of the record it replaces after it, so a reader
// (who takes no lock) finds the stamp of whichever file it opened.
class RecordWriteStampFile {
  public:
    // A stamp is a few hundred bytes; anything far larger is none.
    static constexpr std::size_t kMaxSize = 1024 * 1024;

    // The stamps of the record `recordFileName` in `folder`.
    RecordWriteStampFile(std::filesystem::path folder, std::string_view recordFileName);

    const std::filesystem::path& path() const { return path_; }

    // The stamp made for the file `info` holding `bytes`, if one is kept.
    std::optional<RecordWriteStamp> describing(const struct stat& info,
                                               std::string_view bytes) const;
    // The stamp of the record's file at `target` as it stands, if it has one.
    std::optional<RecordWriteStamp> ofFileAt(const std::filesystem::path& target,
                                             std::size_t maxRecordSize) const;
    // Puts `stamp` first, with `previous` (the stamp of the record it
    // replaces) after it. False when it could not, and the record is then
    // dated by its file alone. Not synced: a stamp lost to a crash leaves the
    // record dated by its file, as one an older version wrote.
    bool write(const RecordWriteStamp& stamp,
               const std::optional<RecordWriteStamp>& previous) const;
    void remove() const;

  private:
    std::filesystem::path folder_;
    std::string recordFileName_;
    std::filesystem::path path_;
};

}  // namespace quorvane
