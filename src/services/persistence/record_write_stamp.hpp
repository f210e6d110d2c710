#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "models/coding/date_coding.hpp"
#include "platform/interfaces/request_clock.hpp"
#include "platform/interfaces/touched_record_parts.hpp"
#include "services/persistence/record_file_identity.hpp"

namespace quorvane {

// Who wrote a record's file and when, kept in a small file beside it: the
// writer (one random name per store, so per process), its count of writes,
// the moment of the write on the writer's own clock, and the parts the
// requests behind it set, each with when it was asked for (carried over from
// the stamp before, so a part set to the value it already had still counts
// as set). Neither the file's times nor its bytes can say this: a copy keeps
// an old time, some file systems count whole seconds, and another writer can
// write equal bytes.
//
// A stamp holds only for the one file it was made for (RecordFileIdentity),
// holding the same length and digest of bytes. A record replaced since by
// anything that keeps no stamp (an older version, an editor, a backup put
// back) simply has none.
struct RecordWriteStamp {
    std::string writer;
    std::uint64_t sequence = 0;
    Date writtenAt;
    RecordFileIdentity file;
    std::uint64_t size = 0;
    std::uint64_t digest = 0;
    TouchedRecordParts requested;
    // The line its times are on (RequestClock): none from a writer that
    // dates by the wall clock alone (an older version).
    std::optional<RequestTimeline> timeline;
    // Put in place before its record landed, and not yet said to be
    // followed by it: the record may land any time later (a stalled disk),
    // and its writer may be stopped before it says so.
    bool pending = false;

    // The stamp of `writer`'s write number `sequence`, made at `now`, of
    // `bytes` into the file `file`. It keeps naming the requests of
    // `previous` (the record's stamp before), so a part set to the value it
    // already had still counts as set, and adds `touched`'s, none asked later
    // than `now`: a touch without a time is taken as asked at the write.
    static RecordWriteStamp made(std::string writer, std::uint64_t sequence, Date now,
                                 const RecordFileIdentity& file, std::string_view bytes,
                                 const std::optional<RecordWriteStamp>& previous,
                                 const TouchedRecordParts& touched);

    // The same with every time later than `latest` counted as `latest`.
    RecordWriteStamp upTo(Date latest) const;
    // The same with its times on `clock`'s line, read from a stamps' file
    // the wall clock dated between `changedEarliest` and `changedLatest`.
    // A stamp of this boot moves by the boot-time clock; any other is placed
    // by the wall clock, no time later than its file nor, from this
    // machine's earlier boot (RequestClock::isEarlierBoot), than this
    // boot's beginning.
    RecordWriteStamp onLineOf(const RequestClock& clock, Date changedEarliest,
                              Date changedLatest) const;

    // Names the one write: its writer and count.
    std::string writeID() const;
    // Names a write no stamp describes by its file alone (`info` its fstat):
    // never by its bytes, which another writer can repeat.
    static std::string unstampedWriteID(const RecordFileIdentity& file, const struct stat& info);
    bool describes(const RecordFileIdentity& other, std::string_view bytes) const;

    std::string encoded() const;
    // None for anything that is not a whole stamp.
    static std::optional<RecordWriteStamp> decode(std::string_view bytes);
    // 64-bit FNV-1a: enough to tell a stamp from another file's bytes.
    static std::uint64_t digestOf(std::string_view bytes);
    // ".<record file name>.written", next to the record's file.
    static std::string fileNameFor(std::string_view recordFileName);

    bool operator==(const RecordWriteStamp&) const = default;
};

}  // namespace quorvane
