#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/interfaces/save_outcome.hpp"
#include "platform/interfaces/scheduler.hpp"
#include "platform/interfaces/touched_record_parts.hpp"

namespace quorvane {

// A value that is still not on disk, with why its last write failed and
// the parts of the record the user's actions set in it (what is lost when
// it is never written).
struct UnwrittenSave {
    std::string key;
    SaveOutcome outcome;
    TouchedRecordParts touched;

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
    // Whether a value set earlier may not be on disk (waiting for, or in,
    // its write, or failed): from any thread, and never waits; a writer busy
    // with its state at that moment may hold one.
    virtual bool mayHoldUnsavedValues() const = 0;
    // Waits at most `limit` until no value set earlier waits for, or is in,
    // its write (a failed one waits for its retry and does not count); true
    // when none does.
    virtual bool waitForPendingWrites(Duration limit) = 0;
    // The same without waiting: calls `done` once no value set earlier waits
    // for, or is in, its write (a failed one counts as tried) - on the
    // writer's own thread, or at once on the caller's when none does. `done`
    // must only hand the news on (post it) and not call back into the
    // writer.
    virtual void whenPendingWritesTried(std::function<void()> done) = 0;
    // Writes every value still pending, failed ones again too, and returns
    // those that still could not be written. The way out of the program
    // goes through it.
    virtual std::vector<UnwrittenSave> flushPendingSaves() = 0;
};

}  // namespace quorvane
