#include "app/shell/store_host.hpp"

namespace quorvane {

StoreHost::StoreHost(const CollaboratorsMaker& makeCollaborators, bool followDesktop)
    : scheduler_(std::make_shared<QtScheduler>()) {
    auto collaborators = makeCollaborators(scheduler_);
    // The maker may hand the store a scheduler over the event loop's (the
    // screenshot program's, whose time stands still); none means the loop's.
    if (!collaborators.scheduler)
        collaborators.scheduler = scheduler_;
    store_ = std::make_unique<DisplayStore>(std::move(collaborators));
    bridge_ = std::make_unique<StoreBridge>(*store_);
    hotKeyResults_ = std::make_unique<SpokenHotKeyResults>(*store_);
    theme_ = std::make_unique<Theme>(followDesktop);
    windows_ = std::make_unique<WindowThemeFollower>(*theme_);
    keyboardPath_ = std::make_unique<KeyboardPathFollower>();
    followStoreTheme();
    // Connected before any view exists, so the theme has changed by the
    // time a view redraws on the same signal.
    QObject::connect(bridge_.get(), &StoreBridge::storeChanged, theme_.get(),
                     [this] { followStoreTheme(); });
    context_ = std::make_unique<ViewContext>(ViewContext{*store_, *bridge_, actions_, *theme_});
}

void StoreHost::followStoreTheme() {
    theme_->setTextSize(store_->textSize());
    theme_->setAppearance(store_->appearance());
}

StoreHost::~StoreHost() {
    context_.reset();
    keyboardPath_.reset();
    windows_.reset();
    theme_.reset();
    hotKeyResults_.reset();
    bridge_.reset();
    scheduler_->waitForBackgroundWork();
    store_.reset();
}

}  // namespace quorvane
