#include "views/detail_form/recent_change_prompt_slot.hpp"

#include <QVBoxLayout>

#include "views/controls/recent_change_prompt_view.hpp"
#include "views/detail_form/detail_page.hpp"
#include "views/store_bridge.hpp"

namespace quorvane {

RecentChangePromptSlot::RecentChangePromptSlot(DetailFormContext& context, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The banner shows and hides itself with the store's prompt; the slot
    // follows so its margins take no room while there is none.
    layout->addWidget(new RecentChangePromptView(context.view, false));
    auto follow = [this, &store = context.store] {
        setVisible(store.recentChangeRecoveryPrompt().has_value());
    };
    connect(&context.bridge, &StoreBridge::storeChanged, this, follow);
    follow();
}

}  // namespace quorvane
