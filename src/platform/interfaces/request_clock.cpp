#include "platform/interfaces/request_clock.hpp"

namespace quorvane {

namespace {

Duration sinceEpoch(Date date) {
    return std::chrono::duration_cast<Duration>(date.time_since_epoch());
}

Date dateAt(Duration sinceEpoch) {
    return Date(std::chrono::duration_cast<Date::duration>(sinceEpoch));
}

// A reading of the boot-time clock closer to its wall clock readings than
// this needs no other try.
constexpr Duration kCloseReading = std::chrono::microseconds(50);
constexpr int kReadingTries = 5;

}  // namespace

RequestClock::RequestClock(std::shared_ptr<const Clock> wall, std::shared_ptr<const BootClock> boot)
    : wall_(std::move(wall)), boot_(std::move(boot)) {
    timeline_.bootID = boot_->bootID();
    timeline_.machineID = boot_->machineID();
    timeline_.offset = wallAheadOfBoot();
}

Duration RequestClock::wallAheadOfBoot() const {
    // The two clocks cannot be read at one instant, and a process paused
    // between the two reads (a busy machine) would move every file time by
    // the pause: the boot-time clock is read between two readings of the
    // wall clock, the closest of a few tries.
    Duration closest = Duration::max();
    Duration ahead{0};
    for (int tries = 0; tries < kReadingTries && closest > kCloseReading; ++tries) {
        const auto before = sinceEpoch(wall_->wallNow());
        const auto boot = boot_->sinceBoot();
        const auto gap = sinceEpoch(wall_->wallNow()) - before;
        if (gap < closest) {
            closest = gap;
            ahead = before + gap / 2 - boot;
        }
    }
    return ahead;
}

Date RequestClock::now() const {
    return dateAt(timeline_.offset + boot_->sinceBoot());
}

Date RequestClock::fromWall(Date wallTime) const {
    return wallTime + (timeline_.offset - wallAheadOfBoot());
}

Duration RequestClock::shiftFrom(const std::optional<RequestTimeline>& writer) const {
    if (!isThisBoot(writer))
        return timeline_.offset - wallAheadOfBoot();
    const auto shift = timeline_.offset - writer->offset;
    return shift < kSameSetting && shift > -kSameSetting ? Duration(0) : shift;
}

bool RequestClock::isThisBoot(const std::optional<RequestTimeline>& writer) const {
    return writer && !timeline_.bootID.empty() && writer->bootID == timeline_.bootID;
}

bool RequestClock::isEarlierBoot(const std::optional<RequestTimeline>& writer,
                                 Date changedOnWall) const {
    if (!writer || isThisBoot(writer) || timeline_.bootID.empty() || writer->bootID.empty())
        return false;
    const auto changed = fromWall(changedOnWall);
    if (changed > bootBegan() && changed <= now())
        return false;
    return !writer->machineID ||
           (!timeline_.machineID->empty() && *writer->machineID == *timeline_.machineID);
}

Date RequestClock::bootBegan() const {
    return dateAt(timeline_.offset);
}

}  // namespace quorvane
