#pragma once

#include <memory>
#include <optional>
#include <string>

#include "models/coding/date_coding.hpp"
#include "platform/interfaces/boot_clock.hpp"
#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// The line one process dates its requests on: its boot, how far its dates
// stand ahead of that boot's boot-time clock, and its machine (none named by
// an older version; empty where it could not be read).
struct RequestTimeline {
    std::string bootID;
    Duration offset{0};
    std::optional<std::string> machineID;

    bool operator==(const RequestTimeline&) const = default;
};

// When requests are asked for, on a line no clock setting moves: the
// boot-time clock, which every process of the boot shares, set once (when
// this clock is made) to read as the wall clock did. A step of the wall
// clock after that (date -s, NTP correcting a clock that ran ahead, a
// resumed virtual machine) moves no date on the line.
//
// Another process's times of this boot move onto this line by the boot-time
// clock. Only what nothing else dates is placed by the wall clock as it
// reads now: a file's time, a time noted by an older version (no line
// known), a time of another machine (the wall clock is the only clock two
// machines share) or of a process that could not tell its boot (nor, when
// this one cannot, any other's), and a time of this machine's earlier boot,
// which comes before anything of this boot however far ahead that boot's
// clock ran (a file written during this boot is of no earlier boot).
class RequestClock {
  public:
    // Two lines whose offsets differ by less are one clock setting read
    // twice (the two clocks cannot be read at one instant): times on such a
    // line are taken as they stand.
    static constexpr Duration kSameSetting = std::chrono::milliseconds(1);

    RequestClock(std::shared_ptr<const Clock> wall, std::shared_ptr<const BootClock> boot);

    Date now() const;
    const RequestTimeline& timeline() const { return timeline_; }
    // A time the wall clock told (a file's change time) on this line: as
    // far before now as the wall clock now says it was.
    Date fromWall(Date wallTime) const;
    // How far a time noted on `writer`'s line (none known: on the wall
    // clock) moves onto this one.
    Duration shiftFrom(const std::optional<RequestTimeline>& writer) const;
    bool isThisBoot(const std::optional<RequestTimeline>& writer) const;
    // Whether `writer`'s line is of an earlier boot of this machine: one an
    // older version noted without naming its machine counts as one. Its
    // file changed at `changedOnWall` (as the wall clock tells it, at the
    // earliest): one changed after this boot began, and no later than now,
    // was written during this boot, so by another machine bearing this
    // one's id (a clone sharing the home). A time ahead of now tells
    // nothing: that boot's clock may have run ahead.
    bool isEarlierBoot(const std::optional<RequestTimeline>& writer, Date changedOnWall) const;
    // When this boot began, on this line.
    Date bootBegan() const;

  private:
    // How far the wall clock now stands ahead of the boot-time clock.
    Duration wallAheadOfBoot() const;

    std::shared_ptr<const Clock> wall_;
    std::shared_ptr<const BootClock> boot_;
    RequestTimeline timeline_;
};

}  // namespace quorvane
