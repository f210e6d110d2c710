#include "views/controls/confirmation_presenter.hpp"

#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "presentation/controls/confirmation_dialog_model.hpp"
#include "views/access/accessible_role.hpp"
#include "views/access/keyboard_back_to_opener.hpp"

namespace quorvane {

ConfirmationPresenter::ConfirmationPresenter(QWidget* window) : QObject(window), window_(window) {
    coordinator_.setChangeHandler([this] { sync(); });
}

ConfirmationPresenter::~ConfirmationPresenter() {
    coordinator_.setChangeHandler(nullptr);
    if (dialog_) {
        dialog_->disconnect(this);
        dialog_->deleteLater();
    }
}

void ConfirmationPresenter::request(QuorvaneDestructiveActionKind kind,
                                    const std::optional<std::string>& targetName,
                                    QuorvaneDestructiveConfirmationStyle style,
                                    std::function<void()> action) {
    coordinator_.request(kind, targetName, style, std::move(action));
}

void ConfirmationPresenter::sync() {
    const bool shown = dialog_ && dialog_->isVisible();
    if (coordinator_.confirmationPresented() && !shown)
        showDialog();
    else if (!coordinator_.confirmationPresented() && shown)
        closeDialog();
}

void ConfirmationPresenter::showDialog() {
    const ConfirmationDialogModel model = ConfirmationDialogModel::from(coordinator_.pending());
    if (dialog_) {
        dialog_->disconnect(this);
        dialog_->deleteLater();
    }
    auto* box = new QMessageBox(window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    handKeyboardBackOnClose(*box);
    box->setIcon(model.destructive ? QMessageBox::Warning : QMessageBox::Question);
    // The icon repeats what the alert says; it is not read as an image.
    for (QLabel* label : box->findChildren<QLabel*>())
        if (!label->pixmap().isNull())
            hideFromAccessibility(label);
    box->setWindowTitle(QString::fromStdString(model.title));
    box->setText(QString::fromStdString(model.title));
    box->setInformativeText(QString::fromStdString(model.message));
    box->setTextFormat(Qt::PlainText);
    confirmButton_ = nullptr;
    if (model.confirmButtonTitle) {
        confirmButton_ = box->addButton(
            QString::fromStdString(*model.confirmButtonTitle),
            model.destructive ? QMessageBox::DestructiveRole : QMessageBox::AcceptRole);
    }
    cancelButton_ =
        box->addButton(QString::fromStdString(model.cancelButtonTitle), QMessageBox::RejectRole);
    // Escape dismisses the dialog without a button (see eventFilter).
    box->installEventFilter(this);
    // A destructive action is never the default answer to Return.
    box->setDefaultButton(qobject_cast<QPushButton*>(
        model.destructive || !confirmButton_ ? cancelButton_.data() : confirmButton_.data()));
    answered_ = false;
    dialog_ = box;
    connect(box, &QMessageBox::buttonClicked, this, &ConfirmationPresenter::onButton);
    connect(box, &QDialog::finished, this, &ConfirmationPresenter::onFinished);
    box->open();
}

bool ConfirmationPresenter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != dialog_.data() || event->type() != QEvent::KeyPress ||
        !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel))
        return QObject::eventFilter(watched, event);
    // A message box would press its cancel button; Escape is a dismissal
    // without one, which clears the request a turn later (onFinished).
    dialog_->reject();
    return true;
}

void ConfirmationPresenter::closeDialog() {
    if (!dialog_)
        return;
    answered_ = true;  // the coordinator is already idle
    dialog_->disconnect(this);
    dialog_->close();
    dialog_ = nullptr;
    emit dialogClosed();
}

void ConfirmationPresenter::onButton(QAbstractButton* button) {
    if (answered_)
        return;
    answered_ = true;
    if (button && button == confirmButton_)
        coordinator_.confirmPending();
    else
        coordinator_.cancelPending();
}

void ConfirmationPresenter::onFinished() {
    if (dialog_)
        dialog_->disconnect(this);
    dialog_ = nullptr;
    if (!answered_) {
        answered_ = true;
        // Closed without a button (its window went away, a window manager
        // close).
        coordinator_.setConfirmationPresented(false);
    }
    emit dialogClosed();
}

}  // namespace quorvane
