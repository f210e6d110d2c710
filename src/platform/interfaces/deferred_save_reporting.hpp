#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/interfaces/save_outcome.hpp"
#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// A value that is still not on disk, with why its last write failed.
struct UnwrittenSave {
    std::string key;
    SaveOutcome outcome;

    bool operator==(const UnwrittenSave&) const = default;
};

// Saves that finish after the call that made them (written by a background
// writer) report a failure here instead of through that call's result. A
// failed save is not dropped: it waits to be written again.
class DeferredSaveReporting {
  public:
    using FailureHandler = std::function<void(const std::string& key, const SaveOutcome& outcome)>;
    using WrittenHandler = std::function<void(const std::string& key)>;
    using KeptCopyHandler = std::function<void(const std::string& key, const std::string& copy)>;

    virtual ~DeferredSaveReporting() = default;
    // Called on the writer's own thread; an empty handler stops the reports.
    virtual void setFailureHandler(FailureHandler handler) = 0;
    // Called on the writer's own thread once a key whose failure was told
    // is written after all (by a retry or a newer value), so the failure
    // stops being shown; also on a reader's thread when reading the key
    // finds another process's later changes have overtaken the held value.
    virtual void setWrittenAfterFailureHandler(WrittenHandler handler) = 0;
    // Called on the writer's own thread when a write kept the record it
    // replaced aside first (it did not decode), with the copy's name.
    virtual void setKeptCopyHandler(KeptCopyHandler handler) = 0;
    // Whether a value set earlier is still waiting for, or in, its write.
    virtual bool hasUnwrittenValues() const = 0;
    // Waits at most `limit` until no value set earlier waits for, or is in,
    // its write (a failed one waits for its retry and does not count); true
    // when none does.
    virtual bool waitForPendingWrites(Duration limit) = 0;
    // Writes every value still pending, failed ones again too, and returns
    // those that still could not be written. The way out of the program
    // goes through it.
    virtual std::vector<UnwrittenSave> flushPendingSaves() = 0;
};

}  // namespace quorvane
