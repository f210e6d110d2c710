#include "views/detail_form/recent_change_prompt_slot.hpp"

#include <QVBoxLayout>

#include "views/controls/recent_change_prompt_view.hpp"
#include "views/detail_form/detail_page.hpp"

namespace quorvane {

RecentChangePromptSlot::RecentChangePromptSlot(DetailFormContext& context, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The banner shows and hides itself with the store's prompt.
    layout->addWidget(new RecentChangePromptView(context.view, false));
}

}  // namespace quorvane
