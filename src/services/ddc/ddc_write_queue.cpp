#include "services/ddc/ddc_write_queue.hpp"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>

#include "models/ddc/ddc_write_queue_error.hpp"

namespace quorvane {

// Everything the queue knows, owned by the owner's thread. Tasks that come
// back later (worker turns, timers, the writer's answers) hold it weakly.
struct DDCWriteQueue::State : std::enable_shared_from_this<DDCWriteQueue::State> {
    struct PendingWrite {
        DDCWriteRequest request;
        ResultHandler completion;
    };

    // Decides between a write's answer and its timer: the first one counts.
    struct Race {
        bool decided = false;
        TaskHandle timer;
        // Set when the timer won: the settling period the late answer ends.
        std::optional<std::uint64_t> settlingPeriod;
    };

    State(std::shared_ptr<DDCWriting> writer, Scheduler& scheduler, Duration spacing,
          Duration writeTimeout, Duration settlingTimeout)
        : writer(std::move(writer)),
          scheduler(scheduler),
          minimumWriteSpacing(spacing),
          writeTimeout(writeTimeout),
          settlingTimeout(settlingTimeout) {}

    bool isSettling(std::uint32_t displayID) const { return settlingDisplays.contains(displayID); }

    void resume(PendingWrite pending, DDCWriteResultOutcome outcome) {
        DDCWriteResult result = DDCWriteResult::answering(pending.request, std::move(outcome));
        std::weak_ptr<State> weak = weak_from_this();
        scheduler.post([weak, completion = std::move(pending.completion), result] {
            if (weak.lock())
                completion(result);
        });
    }

    void fail(PendingWrite pending, const DDCWriteQueueError& error) {
        resume(std::move(pending), DDCWriteResultOutcome::failed(error.description()));
    }

    void enqueue(DDCWriteRequest request, ResultHandler completion) {
        const DDCWriteKey key = request.key;
        const std::uint32_t displayID = key.displayID;
        if (isSettling(displayID)) {
            fail({std::move(request), std::move(completion)}, DDCWriteQueueError::settling());
            return;
        }
        auto waiting = pendingWrites.find(key);
        if (waiting != pendingWrites.end()) {
            // The newer request takes the older one's place in the order.
            PendingWrite older = std::move(waiting->second);
            pendingWrites.erase(waiting);
            resume(std::move(older), DDCWriteResultOutcome::supersededBy(request.rawValue));
        } else {
            pendingOrderByDisplay[displayID].push_back(key);
        }
        pendingWrites.emplace(key, PendingWrite{std::move(request), std::move(completion)});
        ensureWorker(displayID);
    }

    void cancelPending(const DDCWriteRequest& request) {
        auto waiting = pendingWrites.find(request.key);
        if (waiting == pendingWrites.end() || waiting->second.request.id != request.id)
            return;
        // The key stays in the display's order and is dropped when reached.
        PendingWrite cancelled = std::move(waiting->second);
        pendingWrites.erase(waiting);
        fail(std::move(cancelled), DDCWriteQueueError::cancelled());
    }

    void ensureWorker(std::uint32_t displayID) {
        if (!activeDisplayWorkers.insert(displayID).second)
            return;
        std::weak_ptr<State> weak = weak_from_this();
        scheduler.post([weak, displayID] {
            if (auto state = weak.lock())
                state->drain(displayID);
        });
    }

    std::optional<PendingWrite> nextPendingWrite(std::uint32_t displayID) {
        auto order = pendingOrderByDisplay.find(displayID);
        if (order == pendingOrderByDisplay.end())
            return std::nullopt;
        std::deque<DDCWriteKey>& keys = order->second;
        std::optional<PendingWrite> next;
        while (!keys.empty() && !next) {
            auto waiting = pendingWrites.find(keys.front());
            keys.pop_front();
            if (waiting == pendingWrites.end())
                continue;  // cancelled meanwhile
            next = std::move(waiting->second);
            pendingWrites.erase(waiting);
        }
        if (keys.empty())
            pendingOrderByDisplay.erase(order);
        return next;
    }

    // One turn of a display's worker: take the next request, write it, and
    // come back after the spacing pause.
    void drain(std::uint32_t displayID) {
        if (isSettling(displayID)) {
            stopWorker(displayID);
            return;
        }
        std::optional<PendingWrite> next = nextPendingWrite(displayID);
        if (!next) {
            stopWorker(displayID);
            return;
        }
        writeWithTimeout(std::move(*next));
    }

    void stopWorker(std::uint32_t displayID) {
        activeDisplayWorkers.erase(displayID);
        // A request queued while the worker was finishing is not stranded.
        if (pendingOrderByDisplay.contains(displayID) && !isSettling(displayID)) {
            ensureWorker(displayID);
        }
    }

    void writeWithTimeout(PendingWrite pending) {
        const DDCWriteRequest request = pending.request;
        auto race = std::make_shared<Race>();
        auto shared = std::make_shared<PendingWrite>(std::move(pending));
        std::weak_ptr<State> weak = weak_from_this();

        race->timer = scheduler.postAfter(writeTimeout, [weak, race, shared] {
            if (race->decided)
                return;
            race->decided = true;
            if (auto state = weak.lock())
                state->timedOut(std::move(*shared), *race);
        });
        writer->write(
            request.key.displayID, request.key.code, request.rawValue,
            [weak, race, shared, displayID = request.key.displayID](DDCControlResult result) {
                auto state = weak.lock();
                if (race->decided) {
                    // The late answer of a timed-out write.
                    if (state && race->settlingPeriod) {
                        state->finishSettling(displayID, *race->settlingPeriod);
                    }
                    return;
                }
                race->decided = true;
                race->timer.cancel();
                if (state)
                    state->answered(std::move(*shared), result);
            });
    }

    void answered(PendingWrite pending, const DDCControlResult& result) {
        const DDCWriteRequest request = pending.request;
        if (!result.value) {
            fail(std::move(pending), DDCWriteQueueError::transport(result.error->description()));
        } else if (result.value->code != request.key.code ||
                   result.value->current != request.rawValue) {
            // Only the value is compared; a changed maximum is fine.
            fail(std::move(pending),
                 DDCWriteQueueError::readBackMismatch(request.key.code, request.rawValue,
                                                      result.value->current));
        } else {
            resume(std::move(pending), DDCWriteResultOutcome::applied(*result.value));
        }
        pauseThenDrain(request.key.displayID);
    }

    void timedOut(PendingWrite pending, Race& race) {
        const std::uint32_t displayID = pending.request.key.displayID;
        const std::uint64_t period = ++settlingPeriods;
        settlingDisplays[displayID] = period;
        race.settlingPeriod = period;
        failPendingWrites(displayID, DDCWriteQueueError::settling());

        std::weak_ptr<State> weak = weak_from_this();
        scheduler.postAfter(settlingTimeout, [weak, displayID, period] {
            if (auto state = weak.lock())
                state->finishSettling(displayID, period);
        });
        fail(std::move(pending), DDCWriteQueueError::timeout());
        pauseThenDrain(displayID);
    }

    void pauseThenDrain(std::uint32_t displayID) {
        std::weak_ptr<State> weak = weak_from_this();
        scheduler.postAfter(minimumWriteSpacing, [weak, displayID] {
            if (auto state = weak.lock())
                state->drain(displayID);
        });
    }

    void failPendingWrites(std::uint32_t displayID, const DDCWriteQueueError& error) {
        auto order = pendingOrderByDisplay.find(displayID);
        if (order == pendingOrderByDisplay.end())
            return;
        const std::deque<DDCWriteKey> keys = std::move(order->second);
        pendingOrderByDisplay.erase(order);
        for (const DDCWriteKey& key : keys) {
            auto waiting = pendingWrites.find(key);
            if (waiting == pendingWrites.end())
                continue;
            PendingWrite pending = std::move(waiting->second);
            pendingWrites.erase(waiting);
            fail(std::move(pending), error);
        }
    }

    // Ends the settling period `period` (the late write returned or its limit
    // passed). A watcher of an earlier period that has already ended leaves a
    // later one alone, so each period lasts until its own write or limit.
    void finishSettling(std::uint32_t displayID, std::uint64_t period) {
        auto settling = settlingDisplays.find(displayID);
        if (settling == settlingDisplays.end() || settling->second != period)
            return;
        settlingDisplays.erase(settling);
        if (pendingOrderByDisplay.contains(displayID))
            ensureWorker(displayID);
    }

    std::shared_ptr<DDCWriting> writer;
    Scheduler& scheduler;
    const Duration minimumWriteSpacing;
    const Duration writeTimeout;
    const Duration settlingTimeout;

    std::map<DDCWriteKey, PendingWrite> pendingWrites;
    std::map<std::uint32_t, std::deque<DDCWriteKey>> pendingOrderByDisplay;
    std::set<std::uint32_t> activeDisplayWorkers;
    // Display → its current settling period.
    std::map<std::uint32_t, std::uint64_t> settlingDisplays;
    std::uint64_t settlingPeriods = 0;
};

DDCWriteQueue::DDCWriteQueue(std::shared_ptr<DDCWriting> writer, Scheduler& scheduler,
                             Duration minimumWriteSpacing, Duration writeTimeout,
                             Duration settlingTimeout)
    : state_(std::make_shared<State>(std::move(writer), scheduler, minimumWriteSpacing,
                                     writeTimeout, settlingTimeout)) {}

DDCWriteQueue::~DDCWriteQueue() = default;

void DDCWriteQueue::submit(DDCWriteRequest request, ResultHandler completion) {
    state_->enqueue(std::move(request), std::move(completion));
}

void DDCWriteQueue::cancel(const DDCWriteRequest& request) {
    state_->cancelPending(request);
}

}  // namespace quorvane
