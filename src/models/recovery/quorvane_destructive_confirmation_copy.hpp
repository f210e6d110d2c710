#pragma once

#include <string>

namespace quorvane {

// The texts of one confirmation dialog.
struct QuorvaneDestructiveConfirmationCopy {
    std::string title;  // a question
    std::string confirmButtonTitle;
    std::string message;  // what the action does and what it leaves alone

    bool operator==(const QuorvaneDestructiveConfirmationCopy&) const = default;
};

}  // namespace quorvane
