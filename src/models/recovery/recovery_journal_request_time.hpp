#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "models/coding/date_coding.hpp"
#include "models/coding/json_coding.hpp"

namespace quorvane {

// When the action behind a journal entry was asked for, on the request line
// of the process that wrote it: the time on that line, the boot it ran in,
// and how far the line stood ahead of that boot's boot-time clock. Two
// entries of one boot compare on the boot-time clock, which no clock
// setting moves; the wall clock an entry also keeps (`createdAt`) can be set
// back between them.
struct RecoveryJournalRequestTime {
    Date askedAt;
    std::string bootID;
    std::chrono::nanoseconds bootOffset{0};

    bool operator==(const RecoveryJournalRequestTime&) const = default;

    // Where it was asked on its boot's boot-time clock.
    std::chrono::nanoseconds sinceBoot() const {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(askedAt.time_since_epoch()) -
               bootOffset;
    }
    // Whether both were asked in one boot that tells itself from others.
    bool sameBootAs(const RecoveryJournalRequestTime& other) const {
        return !bootID.empty() && bootID == other.bootID;
    }

    template <class J>
    J toJson() const {
        J object = J::object();
        object["askedAt"] =
            std::chrono::duration_cast<std::chrono::nanoseconds>(askedAt.time_since_epoch())
                .count();
        object["boot"] = bootID;
        object["bootOffset"] = bootOffset.count();
        return object;
    }

    // Both times within ±2^62 ns (±146 years), so their difference always
    // fits: a hand-edited number beyond that is no time this program wrote.
    template <class J>
    static RecoveryJournalRequestTime fromJson(const J& object) {
        RecoveryJournalRequestTime time;
        time.askedAt = Date(std::chrono::duration_cast<Date::duration>(
            std::chrono::nanoseconds(boundedNanoseconds(object, "askedAt"))));
        time.bootID = requireKey<std::string>(object, "boot");
        time.bootOffset = std::chrono::nanoseconds(boundedNanoseconds(object, "bootOffset"));
        return time;
    }

  private:
    static constexpr std::int64_t kNanosecondsBound = std::int64_t{1} << 62;

    template <class J>
    static std::int64_t boundedNanoseconds(const J& object, std::string_view key) {
        const auto value = requireKey<std::int64_t>(object, key);
        if (value > kNanosecondsBound || value < -kNanosecondsBound)
            throw JsonDecodeError("JSON decode failed at '" + std::string(key) +
                                  "': time out of range");
        return value;
    }
};

}  // namespace quorvane
