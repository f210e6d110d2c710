#include "services/persistence/quorvane_destructive_confirmation_coordinator.hpp"

#include <utility>

#include "models/coding/uuid_text.hpp"

namespace quorvane {

void QuorvaneDestructiveConfirmationCoordinator::State::notify() const {
    if (onChange)
        onChange();
}

QuorvaneDestructiveConfirmationCoordinator::QuorvaneDestructiveConfirmationCoordinator(
    Scheduler& scheduler)
    : scheduler_(scheduler), state_(std::make_shared<State>()) {}

QuorvaneDestructiveConfirmationCoordinator::~QuorvaneDestructiveConfirmationCoordinator() {
    // A deferred task may still hold the state; it must not call back into
    // observers that went away with the coordinator.
    state_->onChange = nullptr;
}

const std::optional<QuorvaneDestructiveConfirmationRequest>&
QuorvaneDestructiveConfirmationCoordinator::pending() const {
    return state_->pending;
}

bool QuorvaneDestructiveConfirmationCoordinator::confirmationPresented() const {
    return state_->confirmationPresented;
}

void QuorvaneDestructiveConfirmationCoordinator::setChangeHandler(ChangeHandler handler) {
    state_->onChange = std::move(handler);
}

void QuorvaneDestructiveConfirmationCoordinator::request(
    QuorvaneDestructiveActionKind kind, const std::optional<std::string>& targetName,
    QuorvaneDestructiveConfirmationStyle style, std::function<void()> action) {
    if (state_->pending)
        return;
    state_->pending = QuorvaneDestructiveConfirmationRequest{
        newUuidText(), confirmationCopy(kind, targetName), style, std::move(action)};
    state_->confirmationPresented = true;
    state_->notify();
}

void QuorvaneDestructiveConfirmationCoordinator::confirmPending() {
    if (!state_->pending)
        return;
    QuorvaneDestructiveConfirmationRequest request = std::move(*state_->pending);
    state_->pending.reset();
    state_->confirmationPresented = false;
    state_->notify();
    if (request.action)
        request.action();
}

void QuorvaneDestructiveConfirmationCoordinator::cancelPending() {
    state_->pending.reset();
    state_->confirmationPresented = false;
    state_->notify();
}

void QuorvaneDestructiveConfirmationCoordinator::setConfirmationPresented(bool presented) {
    state_->confirmationPresented = presented;
    state_->notify();
    if (presented)
        return;
    scheduler_.post([state = state_] {
        if (state->confirmationPresented || !state->pending)
            return;
        state->pending.reset();
        state->notify();
    });
}

}  // namespace quorvane
