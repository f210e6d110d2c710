#include "views/detail_form/display_detail_form.hpp"

namespace quorvane {

DisplayDetailForm::DisplayDetailForm(ViewContext& context, MainWindowState& state,
                                     ConfirmationPresenter& confirmations, QWidget* parent)
    : QWidget(parent), context_(context), state_(state), confirmations_(confirmations) {}

void DisplayDetailForm::refresh() {}

}  // namespace quorvane
