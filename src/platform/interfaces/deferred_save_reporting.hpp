#pragma once

#include <functional>
#include <string>

#include "platform/interfaces/save_outcome.hpp"

namespace quorvane {

// Saves that finish after the call that made them (written by a background
// writer) report a failure here instead of through that call's result.
class DeferredSaveReporting {
  public:
    using FailureHandler = std::function<void(const std::string& key, const SaveOutcome& outcome)>;

    virtual ~DeferredSaveReporting() = default;
    // Called on the writer's own thread; an empty handler stops the reports.
    virtual void setFailureHandler(FailureHandler handler) = 0;
    // Whether a value set earlier is still waiting for, or in, its write.
    virtual bool hasUnwrittenValues() const = 0;
};

}  // namespace quorvane
