#include "views/detail_form/recent_change_prompt_slot.hpp"

#include <QVBoxLayout>

#include "views/controls/recent_change_prompt_view.hpp"
#include "views/detail_form/detail_page.hpp"

namespace quorvane {

RecentChangePromptSlot::RecentChangePromptSlot(DetailFormContext& context, QWidget* parent)
    : QWidget(parent), prompt_(new RecentChangePromptView(context.view, false, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The banner shows and hides itself with the store's prompt; the slot
    // follows so its margins take no room while there is none.
    layout->addWidget(prompt_);
    connect(prompt_, &RecentChangePromptView::changed, this,
            [this] { setVisible(!prompt_->isHidden()); });
    // Not shown here: a slot without a prompt starts hidden, one with a
    // prompt shows with the page it is placed on.
    if (prompt_->isHidden())
        hide();
}

void RecentChangePromptSlot::keepStill(QScrollArea* area) {
    // After the slot has followed the banner (connected first), so the
    // anchor measures the slot's margins too.
    prompt_->keepStill(area);
}

}  // namespace quorvane
