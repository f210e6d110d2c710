#pragma once

#include <functional>
#include <string>

#include "models/recovery/quorvane_destructive_confirmation_copy.hpp"
#include "models/recovery/quorvane_destructive_confirmation_style.hpp"

namespace quorvane {

// One confirmation awaiting the user's answer and what runs when it is given.
// Identified by `id`; the action makes it incomparable as a whole.
struct QuorvaneDestructiveConfirmationRequest {
    std::string id;  // fresh UUID text per request
    QuorvaneDestructiveConfirmationCopy copy;
    QuorvaneDestructiveConfirmationStyle style = QuorvaneDestructiveConfirmationStyle::standard;
    std::function<void()> action;
};

}  // namespace quorvane
