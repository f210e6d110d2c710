#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include <sys/stat.h>

#include "platform/interfaces/defaults_store_error.hpp"
#include "services/persistence/record_write_stamp.hpp"
#include "services/persistence/record_write_stamp_decoder.hpp"
#include "services/persistence/unique_file_descriptor.hpp"

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
// over or put back since (a restore of the newest write's bytes too),
// unless the newest stamp is still pending: its record may land any time
// after it, and only its writer's rename puts it there.
class RecordWriteStampFile {
  public:
    // A stamp is a few hundred bytes; anything far larger is none.
    static constexpr std::size_t kMaxSize = 1024 * 1024;

    // The stamps of the record `recordFileName` in `folder`.
    RecordWriteStampFile(std::filesystem::path folder, std::string_view recordFileName);

    // The stamp made for the file `file` holding `bytes`, if one is kept,
    // read at `now`, its times on `clock`'s line (RecordWriteStamp::onLineOf)
    // where one is given. No time in it is later than `now`, nor, unless
    // the boot-time clock dates it, than the moment the stamps' file was put
    // there: a later one was told by a clock that ran ahead (a skewed
    // virtual machine, a clock set by hand) and counts as that moment,
    // whoever reads it or carries it on.
    // `decoder`, where given, keeps the lines it decoded for the next read.
    std::optional<RecordWriteStamp> describing(
        const RecordFileIdentity& file, std::string_view bytes, Date now,
        const RequestClock* clock = nullptr,
        const RecordWriteStampDecoder* decoder = nullptr) const;
    // What a look for the stamp of one file found.
    struct Lookup {
        // The stamp describing() gives.
        std::optional<RecordWriteStamp> stamp;
        // None was found, but stamps this process may not read stand at the
        // name (another user's write: root's, run through sudo in the
        // user's folder) and may have been made for the file: who wrote it,
        // and when its requests were asked for, is not known.
        bool unreadable = false;
        // None was found, but the newest stamp is a write's that has not
        // landed yet, and one after it was made for the file, on a file
        // system that cannot tell it from another file that got its number:
        // most likely the record that write is about to replace, perhaps a
        // restore; when its requests were asked for is not known either.
        bool beforeAPendingWrite = false;
    };
    // describing(), telling also of stamps that could not be read.
    Lookup lookUp(const RecordFileIdentity& file, std::string_view bytes, Date now,
                  const RequestClock* clock = nullptr,
                  const RecordWriteStampDecoder* decoder = nullptr) const;
    // The stamps put in place ahead of their record by replaceWith(): until
    // keep() says the record landed too, ending it puts back the stamps that
    // were there before (or none, where there were none), so a record and
    // its stamp are replaced together or not at all. Stamps another writer
    // put in their place since (one that took the lock from under this one)
    // stay.
    class Replacement {
      public:
        // `placed` is the stamps' file it put in place, open; `placedInfo`
        // its status.
        Replacement(std::filesystem::path path, std::string displaced, bool canPutBack,
                    UniqueFileDescriptor placed, const struct stat& placedInfo);
        Replacement(Replacement&& other) noexcept;
        Replacement& operator=(Replacement&&) = delete;
        Replacement(const Replacement&) = delete;
        Replacement& operator=(const Replacement&) = delete;
        ~Replacement();

        // The record is in place: the stamps before go.
        void keep();
        // Whether the stamps it put in place still stand at the name:
        // another writer may have put its own there since (one that took
        // the lock from under this one).
        bool stillPlaced() const;

      private:
        std::filesystem::path path_;
        // Where the stamps before wait, under a temporary file's name (one
        // left by a killed write is removed with the record's own); empty
        // when there were none.
        std::string displaced_;
        bool canPutBack_ = true;
        bool kept_ = false;
        UniqueFileDescriptor placed_{-1};
        dev_t placedDevice_ = 0;
        ino_t placedInode_ = 0;
    };

    // Puts `stamp` first, with `previous` (the stamp of the record it
    // replaces) after it, so a reader who opened the record before it is
    // replaced still finds its stamp. `synced` makes the stamp reach the
    // disk before it stands (a record written with it must not outlive it
    // after a crash). Fails with why, leaving the stamps as they were: a
    // full disk, or something at the stamps' name no rename can replace. A
    // folder there is removed when empty, else moved aside, so it stops no
    // stamp after it; one that cannot be moved (a mount point) fails with
    // its reason.
    std::variant<Replacement, DefaultsStoreError> replaceWith(
        const RecordWriteStamp& stamp, const std::optional<RecordWriteStamp>& previous,
        bool synced) const;
    // After the record of the pending `stamp` landed under a replacement
    // kept: puts the same stamp in place again, no longer pending, so a
    // record written over or put back since is told from that write.
    // Until then the pending stamp describes its record however late it
    // landed (a stalled disk, a writer stopped between the two renames).
    void confirm(const RecordWriteStamp& stamp,
                 const std::optional<RecordWriteStamp>& previous) const;
    // replaceWith() kept at once: a stamp written for a record that stays
    // as it is (the file `file` holding `bytes`). Where the kept stamps
    // (keptPath()) describe that record, it is neither synced nor renamed
    // over the stamps before, which some file systems answer with a flush
    // of its blocks (ext4), but exchanged with them: lost to a crash, it
    // leaves those kept stamps to describe the record. Elsewhere it is
    // synced, renamed over them and kept itself.
    std::optional<DefaultsStoreError> write(const RecordWriteStamp& stamp,
                                            const std::optional<RecordWriteStamp>& previous,
                                            const RecordFileIdentity& file, std::string_view bytes,
                                            const RecordWriteStampDecoder* decoder = nullptr) const;
    // Both the stamps and the kept ones go.
    void remove() const;
    // Where the newest stamps made sure to reach the disk (synced) are
    // kept, under a second name of theirs: ".<record file name>.written~".
    // They are read only where the stamps at the name are missing, empty,
    // broken or unreadable: what a crash leaves of stamps never synced.
    const std::filesystem::path& keptPath() const { return keptPath_; }
    // The stamps at the name (the file's lines as they stand) when they
    // describe the file `file` holding `bytes`, however late it changed:
    // for a record moved away and back by a write that found it there,
    // which changed its change time, not its making.
    std::optional<std::string> linesDescribing(const RecordFileIdentity& file,
                                               std::string_view bytes) const;
    // Puts `lines` (from linesDescribing()) at the name anew, synced, so
    // they describe again the record they were made for, put back just now.
    void putBack(std::string_view lines) const;

  private:
    // Whether the newest of `lines` is a pending stamp and one after it was
    // made for the file `file` holding `bytes`, though it cannot tell it
    // apart (see Lookup::beforeAPendingWrite).
    static bool describedBeforeAPendingWrite(std::string_view lines, const RecordFileIdentity& file,
                                             std::string_view bytes,
                                             const RecordWriteStampDecoder* decoder);
    // The stamp of `lines` (a stamps' file) made for the file `file`
    // holding `bytes`, which `changedSince` the stamps were put in place.
    static std::optional<RecordWriteStamp> describedIn(std::string_view lines,
                                                       const RecordFileIdentity& file,
                                                       std::string_view bytes, bool changedSince,
                                                       const RecordWriteStampDecoder* decoder);
    // Clears a folder out of the stamps' way; the errno of a folder that
    // stays there, 0 when none does.
    int moveFolderAside() const;
    // Puts `temporaryPath` at the stamps' name, keeping the stamps there
    // under a new temporary name until the replacement is kept; an errno
    // when it cannot.
    std::variant<Replacement, int> swapIn(const std::string& temporaryPath) const;
    // Writes `stamp` with `previous` after it to the new temporary file
    // `fd` (synced when asked) and clears a folder out of the stamps' way;
    // why not, if it could not.
    std::optional<DefaultsStoreError> fillTemporary(UniqueFileDescriptor fd,
                                                    const RecordWriteStamp& stamp,
                                                    const std::optional<RecordWriteStamp>& previous,
                                                    bool synced) const;
    // A new temporary file's name template, as the record's own.
    std::string temporaryName() const;
    // Links the stamps at the name under a free temporary name, which it
    // returns; empty (errno set) where none could be linked.
    std::string linkedUnderTemporaryName() const;

    // The stamps at `path` made for `file` holding `bytes`, as lookUp();
    // `broken` tells whether they are missing, empty, broken or unreadable.
    Lookup lookUpIn(const std::filesystem::path& path, const RecordFileIdentity& file,
                    std::string_view bytes, Date now, const RequestClock* clock,
                    const RecordWriteStampDecoder* decoder, bool& broken) const;
    // The stamps at the name, synced already, become the kept ones too.
    void keepSynced() const;

    std::filesystem::path folder_;
    std::string recordFileName_;
    std::filesystem::path path_;
    std::filesystem::path keptPath_;
};

}  // namespace quorvane
