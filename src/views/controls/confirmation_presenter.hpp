#pragma once

#include <QAbstractButton>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>

#include "models/recovery/quorvane_destructive_action_kind.hpp"
#include "models/recovery/quorvane_destructive_confirmation_style.hpp"
#include "services/persistence/quorvane_destructive_confirmation_coordinator.hpp"
#include "views/qt_scheduler.hpp"

class QWidget;

namespace quorvane {

// The one confirmation dialog of a window. Each window owns one presenter
// (and through it one coordinator); controls post their destructive or
// far-reaching actions with request() and never show dialogs of their own.
//
// The dialog is a window-modal QMessageBox opened with open(), never exec():
// a nested event loop would let store updates rebuild the page under it.
// A request posted while one is pending is dropped. "확인" clears the
// coordinator first and then runs the action exactly once; "취소", Escape,
// closing the dialog or its window never run it. "취소" clears the request
// at once; Escape and every other dismissal without a button hide the
// dialog at once and clear the request one event-loop turn later, so a
// request posted in that turn is still dropped.
//
// Usage (a window):
//   confirmations_ = new ConfirmationPresenter(this);
//   confirmations_->request(QuorvaneDestructiveActionKind::deletePreset, name,
//                           QuorvaneDestructiveConfirmationStyle::destructive,
//                           [&store, id] { store.deletePreset(id); });
class ConfirmationPresenter : public QObject {
    Q_OBJECT

  public:
    explicit ConfirmationPresenter(QWidget* window);
    ~ConfirmationPresenter() override;

    void request(QuorvaneDestructiveActionKind kind, const std::optional<std::string>& targetName,
                 QuorvaneDestructiveConfirmationStyle style, std::function<void()> action);

    QuorvaneDestructiveConfirmationCoordinator& coordinator() { return coordinator_; }
    // The dialog on screen, if any (for tests).
    QMessageBox* dialog() const { return dialog_; }
    QAbstractButton* confirmButton() const { return confirmButton_; }
    QAbstractButton* cancelButton() const { return cancelButton_; }

  signals:
    // The dialog has gone, answered or dismissed, after the action it
    // confirmed (if any) has run.
    void dialogClosed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void sync();
    void showDialog();
    void closeDialog();
    void onButton(QAbstractButton* button);
    void onFinished();

    QWidget* window_;
    // Only the deferred clearing after a dismissal runs through it.
    QtScheduler scheduler_{1};
    QuorvaneDestructiveConfirmationCoordinator coordinator_{scheduler_};
    QPointer<QMessageBox> dialog_;
    QPointer<QAbstractButton> confirmButton_;
    QPointer<QAbstractButton> cancelButton_;
    bool answered_ = false;
};

}  // namespace quorvane
