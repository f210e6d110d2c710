#include "platform/linux/system_clock.hpp"

namespace quorvane {

MonotonicTime SystemClock::monotonicNow() const {
    return MonotonicClock::now();
}

Date SystemClock::wallNow() const {
    return std::chrono::system_clock::now();
}

}  // namespace quorvane
