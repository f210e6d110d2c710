#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "platform/interfaces/free_space_measuring.hpp"

namespace quorvane {

// Room the test sets, counting how often and noting on which threads it was
// asked. Safe to set on one thread while another asks.
class SimulatedFreeSpaceMeter final : public FreeSpaceMeasuring {
  public:
    explicit SimulatedFreeSpaceMeter(std::optional<std::uint64_t> bytes = 0) : bytes_(bytes) {}

    std::optional<std::uint64_t> freeBytes() const override {
        ++reads_;
        std::lock_guard lock(mutex_);
        askedOn_.insert(std::this_thread::get_id());
        return bytes_;
    }
    void setFreeBytes(std::optional<std::uint64_t> bytes) {
        std::lock_guard lock(mutex_);
        bytes_ = bytes;
    }
    int reads() const { return reads_; }
    bool askedOn(std::thread::id thread) const {
        std::lock_guard lock(mutex_);
        return askedOn_.contains(thread);
    }

  private:
    mutable std::mutex mutex_;
    std::optional<std::uint64_t> bytes_;
    mutable std::set<std::thread::id> askedOn_;
    mutable std::atomic<int> reads_ = 0;
};

}  // namespace quorvane
