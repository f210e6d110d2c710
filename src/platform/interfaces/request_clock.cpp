#include "platform/interfaces/request_clock.hpp"

namespace quorvane {

namespace {

Duration sinceEpoch(Date date) {
    return std::chrono::duration_cast<Duration>(date.time_since_epoch());
}

Date dateAt(Duration sinceEpoch) {
    return Date(std::chrono::duration_cast<Date::duration>(sinceEpoch));
}

}  // namespace

RequestClock::RequestClock(std::shared_ptr<const Clock> wall, std::shared_ptr<const BootClock> boot)
    : wall_(std::move(wall)), boot_(std::move(boot)) {
    timeline_.bootID = boot_->bootID();
    timeline_.offset = sinceEpoch(wall_->wallNow()) - boot_->sinceBoot();
}

Date RequestClock::now() const {
    return dateAt(timeline_.offset + boot_->sinceBoot());
}

Date RequestClock::fromWall(Date wallTime) const {
    return wallTime + (now() - wall_->wallNow());
}

Duration RequestClock::shiftFrom(const std::optional<RequestTimeline>& writer) const {
    if (!isThisBoot(writer))
        return std::chrono::duration_cast<Duration>(now() - wall_->wallNow());
    const auto shift = timeline_.offset - writer->offset;
    return shift < kSameSetting && shift > -kSameSetting ? Duration(0) : shift;
}

bool RequestClock::isThisBoot(const std::optional<RequestTimeline>& writer) const {
    return writer && !timeline_.bootID.empty() && writer->bootID == timeline_.bootID;
}

Date RequestClock::bootBegan() const {
    return dateAt(timeline_.offset);
}

}  // namespace quorvane
