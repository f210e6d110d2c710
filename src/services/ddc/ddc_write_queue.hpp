#pragma once

#include <memory>

#include "platform/interfaces/ddc_controlling.hpp"
#include "platform/interfaces/ddc_write_queueing.hpp"
#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// Carries every monitor write to the writer (the DDC controller):
// - at most one waiting request per display and control; a newer one takes
//   the older one's place (and its position) and the older one is answered
//   as superseded at once;
// - one worker per display writes its requests one at a time, in the order
//   their controls were first queued, pausing `minimumWriteSpacing` after
//   every write, whatever its outcome;
// - a write (with its read-back) that has not answered within
//   `writeTimeout` is answered as timed out but not stopped: the display
//   then settles, refusing writes and failing those waiting, until the late
//   write returns or `settlingTimeout` has passed;
// - every request is answered exactly once, on the owner's thread.
//
// All calls on the owner's thread. Destroying the queue drops every answer
// not yet given.
class DDCWriteQueue final : public DDCWriteQueueing {
  public:
    static constexpr Duration kMinimumWriteSpacing = std::chrono::milliseconds(200);
    static constexpr Duration kWriteTimeout = std::chrono::seconds(4);
    static constexpr Duration kSettlingTimeout = std::chrono::seconds(8);

    DDCWriteQueue(std::shared_ptr<DDCWriting> writer, Scheduler& scheduler,
                  Duration minimumWriteSpacing = kMinimumWriteSpacing,
                  Duration writeTimeout = kWriteTimeout,
                  Duration settlingTimeout = kSettlingTimeout);
    ~DDCWriteQueue() override;
    DDCWriteQueue(const DDCWriteQueue&) = delete;
    DDCWriteQueue& operator=(const DDCWriteQueue&) = delete;

    void submit(DDCWriteRequest request, ResultHandler completion) override;
    void cancel(const DDCWriteRequest& request) override;

    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace quorvane
