#pragma once

#include <optional>
#include <string>

#include "models/recovery/quorvane_destructive_confirmation_request.hpp"

namespace quorvane {

// The confirmation dialog's parts for the coordinator's pending request.
// With nothing pending the dialog (if it shows at all) asks the generic
// question with only "취소".
struct ConfirmationDialogModel {
    std::string title;
    std::optional<std::string> confirmButtonTitle;  // absent: no confirm button
    bool destructive = false;
    std::string message;
    std::string cancelButtonTitle = "취소";

    bool operator==(const ConfirmationDialogModel&) const = default;

    static ConfirmationDialogModel from(
        const std::optional<QuorvaneDestructiveConfirmationRequest>& pending);
};

}  // namespace quorvane
