#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

// How long the undo offer of a change stays shown.
constexpr double kRecentChangePromptLifetimeSeconds = 8;

}  // namespace

void DisplayStore::scheduleRecentChangeRecoveryPromptAutoDismiss(const std::string& id) {
    if (recentChangeRecoveryPromptAutoDismissTask_)
        recentChangeRecoveryPromptAutoDismissTask_->cancel();
    recentChangeRecoveryPromptAutoDismissTask_ =
        scheduler_->postAfter(seconds(kRecentChangePromptLifetimeSeconds), [weak = weakSelf(), id] {
            if (auto self = weak.lock())
                (*self)->clearRecentChangeRecoveryPrompt(id);
        });
}

void DisplayStore::clearRecentChangeRecoveryPrompt(const std::optional<std::string>& id) {
    if (!recentChangeRecoveryPrompt_)
        return;
    if (id && *id != recentChangeRecoveryPrompt_->id)
        return;
    ChangeScope scope(*this);
    if (recentChangeRecoveryPromptAutoDismissTask_)
        recentChangeRecoveryPromptAutoDismissTask_->cancel();
    recentChangeRecoveryPromptAutoDismissTask_.reset();
    recentChangeRecoveryPrompt_.reset();
}

}  // namespace quorvane
