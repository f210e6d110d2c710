#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "models/recovery/quorvane_destructive_action_kind.hpp"
#include "models/recovery/quorvane_destructive_confirmation_request.hpp"
#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// Holds at most one pending confirmation for one window. Views post requests;
// the dialog presenter shows the pending one, confirms it or reports that the
// dialog went away. Confined to the owner's thread; observers are told of
// every change through the change handler and re-read the state.
class QuorvaneDestructiveConfirmationCoordinator {
  public:
    using ChangeHandler = std::function<void()>;

    // Deferred clearing after a dismissal runs as a task posted to `scheduler`,
    // which must outlive the coordinator's posted tasks.
    explicit QuorvaneDestructiveConfirmationCoordinator(Scheduler& scheduler);
    ~QuorvaneDestructiveConfirmationCoordinator();

    QuorvaneDestructiveConfirmationCoordinator(const QuorvaneDestructiveConfirmationCoordinator&) =
        delete;
    QuorvaneDestructiveConfirmationCoordinator& operator=(
        const QuorvaneDestructiveConfirmationCoordinator&) = delete;

    const std::optional<QuorvaneDestructiveConfirmationRequest>& pending() const;
    bool confirmationPresented() const;

    void setChangeHandler(ChangeHandler handler);

    // Posts a confirmation; dropped while another one is pending.
    void request(QuorvaneDestructiveActionKind kind, const std::optional<std::string>& targetName,
                 QuorvaneDestructiveConfirmationStyle style, std::function<void()> action);

    // Returns to idle, then runs the pending action once. Nothing pending:
    // nothing happens.
    void confirmPending();

    // The cancel button: drops the pending request at once (never running
    // it), then hides the dialog.
    void cancelPending();

    // The dialog's visibility. Hiding it clears the pending request one turn
    // of the owner's thread later, unless it was shown again meanwhile.
    void setConfirmationPresented(bool presented);

  private:
    struct State {
        std::optional<QuorvaneDestructiveConfirmationRequest> pending;
        bool confirmationPresented = false;
        ChangeHandler onChange;

        void notify() const;
    };

    Scheduler& scheduler_;
    // Shared with deferred tasks so they can finish safely after the
    // coordinator is gone.
    std::shared_ptr<State> state_;
};

}  // namespace quorvane
