#include "presentation/controls/confirmation_dialog_model.hpp"

namespace quorvane {

ConfirmationDialogModel ConfirmationDialogModel::from(
    const std::optional<QuorvaneDestructiveConfirmationRequest>& pending) {
    ConfirmationDialogModel model;
    if (!pending) {
        model.title = "작업을 확인할까요?";
        return model;
    }
    model.title = pending->copy.title;
    model.confirmButtonTitle = pending->copy.confirmButtonTitle;
    model.destructive = pending->style == QuorvaneDestructiveConfirmationStyle::destructive;
    model.message = pending->copy.message;
    return model;
}

}  // namespace quorvane
