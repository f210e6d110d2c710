#include "platform/linux/system_sleeper.hpp"

#include <thread>

namespace quorvane {

void SystemSleeper::sleepFor(Duration duration) {
    if (duration <= Duration::zero())
        return;
    std::this_thread::sleep_for(duration);
}

}  // namespace quorvane
