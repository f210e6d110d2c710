#include "app/shell/store_host.hpp"

namespace quorvane {

StoreHost::StoreHost(const CollaboratorsMaker& makeCollaborators)
    : scheduler_(std::make_shared<QtScheduler>()) {
    auto collaborators = makeCollaborators(scheduler_);
    collaborators.scheduler = scheduler_;
    store_ = std::make_unique<DisplayStore>(std::move(collaborators));
    bridge_ = std::make_unique<StoreBridge>(*store_);
    context_ = std::make_unique<ViewContext>(ViewContext{*store_, *bridge_, actions_});
}

StoreHost::~StoreHost() {
    context_.reset();
    bridge_.reset();
    scheduler_->waitForBackgroundWork();
    store_.reset();
}

}  // namespace quorvane
