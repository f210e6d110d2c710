#include "views/file_dialogs/typed_path_check.hpp"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <utility>

#include "views/access/spoken_notice.hpp"
#include "views/file_dialogs/file_list_keeper.hpp"
#include "views/file_dialogs/name_typed_file_icons.hpp"
#include "views/file_dialogs/path_look_ups.hpp"

namespace quorvane {

namespace {

// How late an answer may be before the dialog shows that it waits: typing
// on a disk that answers shows nothing.
constexpr int kShowWaitingAfterMs = 200;
// How long the name field must have been still before the wait is said: a
// screen reader flooded by the keys just typed (a name typed or pasted
// fast) throws away what is said beside the focus until it has caught up.
constexpr int kSayWaitingAfterStillMs = 1000;
// Found by that name among the dialog's children while it runs.
constexpr char kWaitingTimerName[] = "typedPathWaiting";
constexpr char kSayingTimerName[] = "typedPathWaitSaid";
// What the accept button says, and the screen reader once, while the
// dialog waits.
QString waitingText() {
    return QStringLiteral("확인하는 중…");
}

class TypedPathCheck final : public QObject {
  public:
    TypedPathCheck(QFileDialog& dialog, QLineEdit& field, QDialogButtonBox& buttons,
                   QFileSystemModel* model)
        : QObject(&dialog),
          dialog_(dialog),
          field_(field),
          buttons_(buttons),
          model_(model),
          lookUps_([this](unsigned question) {
              QMetaObject::invokeMethod(
                  this, [this, question] { answered(question); }, Qt::QueuedConnection);
          }),
          waiting_(this),
          saying_(this) {
        waiting_.setObjectName(QLatin1String(kWaitingTimerName));
        waiting_.setSingleShot(true);
        waiting_.setInterval(kShowWaitingAfterMs);
        connect(&waiting_, &QTimer::timeout, this, [this] { showWaiting(); });
        saying_.setObjectName(QLatin1String(kSayingTimerName));
        saying_.setSingleShot(true);
        saying_.setInterval(kSayWaitingAfterStillMs);
        connect(&saying_, &QTimer::timeout, this, [this] { sayWaiting(); });
        connect(&field_, &QLineEdit::textChanged, this,
                [this](const QString& text) { askAboutText(text, false); });
        connect(&field_, &QLineEdit::returnPressed, this,
                [this] { askAboutText(field_.text(), true); });
        connect(&buttons_, &QDialogButtonBox::accepted, this,
                [this] { askAboutText(field_.text(), true); });
        for (auto* view : dialog_.findChildren<QAbstractItemView*>()) {
            if (QObject::disconnect(view, SIGNAL(activated(QModelIndex)), &dialog_,
                                    SLOT(_q_enterDirectory(QModelIndex))))
                connect(view, &QAbstractItemView::activated, this,
                        [this](const QModelIndex& item) { open(item); });
        }
        // A dialog closed is cancelled: what it still waits for is dropped.
        connect(&dialog_, &QDialog::finished, this, [this] { dropWhatIsAwaited(); });
        // A widget tells of its end before its children go.
        connect(&dialog_, &QObject::destroyed, this, [this] { leaveModelBehind(); });
    }
    ~TypedPathCheck() override = default;
    TypedPathCheck(const TypedPathCheck&) = delete;
    TypedPathCheck& operator=(const TypedPathCheck&) = delete;

  private:
    struct Question {
        QString text;
        bool accepting = false;
        // An item of the list opened (a folder to show, a file to take).
        QPersistentModelIndex opened;
    };

    // The text as the dialog reads it: a name in the folder it shows, or
    // a path of its own.
    std::filesystem::path pathOf(const QString& text) const {
        const std::filesystem::path typed(text.toStdString());
        if (typed.is_absolute())
            return typed;
        return std::filesystem::path(dialog_.directory().absolutePath().toStdString()) / typed;
    }
    static std::filesystem::path pathOf(const QModelIndex& item) {
        return item.data(QFileSystemModel::FilePathRole).toString().toStdString();
    }

    void askAboutText(const QString& text, bool accepting) {
        // Accepting holds for the text it was asked for, until it changes.
        const bool stillAccepting =
            latest_.accepting && !latest_.opened.isValid() && latest_.text == text;
        latest_ = Question{text, accepting || stillAccepting, {}};
        ask(pathOf(text));
    }

    // An item of the list opened (a double click, Return): the dialog opens
    // it once the file system has answered for it.
    void open(const QModelIndex& item) {
        latest_ = Question{field_.text(), false, item};
        ask(pathOf(item));
    }

    // Asked off the window thread, at once or once the way is free. Each
    // question (each key) starts the stillness before the wait is said
    // again.
    void ask(std::filesystem::path path) {
        if (!waiting_.isActive() && !waitingShown_)
            waiting_.start();
        if (!waitingHeard_)
            saying_.start();
        lookUps_.ask(++asked_, std::move(path));
    }

    // Whether the latest question is the user's action (Return, the accept
    // button, an item opened) rather than a name still being typed.
    bool acting() const { return latest_.accepting || latest_.opened.isValid(); }

    // A window the dialog was opened over (a sheet, the window below it)
    // closed while the dialog waited.
    bool openerClosed() const {
        for (QWidget* opener = dialog_.parentWidget(); opener; opener = opener->parentWidget())
            if (opener->isWindow() && !opener->isVisible())
                return true;
        return false;
    }

    // The file system answered: for the latest question alone, Qt's dialog
    // opens the item, or looks at the text the field still holds and
    // accepts it when asked to. A dialog closed, or left by the window it
    // was opened over, was cancelled.
    void answered(unsigned question) {
        if (question != asked_)
            return;
        if (openerClosed()) {
            dialog_.reject();
            return;
        }
        endWaiting();
        const Question asked = latest_;
        if (asked.opened.isValid()) {
            QMetaObject::invokeMethod(&dialog_, "_q_enterDirectory",
                                      Q_ARG(QModelIndex, QModelIndex(asked.opened)));
            QMetaObject::invokeMethod(&dialog_, "_q_updateOkButton");
            return;
        }
        if (field_.text() != asked.text)
            return;
        // What was typed is what is accepted: an item the list selected on
        // its own meanwhile (the focus moved into it) is no choice.
        if (asked.accepting)
            clearListSelection();
        QMetaObject::invokeMethod(&dialog_, "_q_autoCompleteFileName", Q_ARG(QString, asked.text));
        QMetaObject::invokeMethod(&dialog_, "_q_updateOkButton");
        // Qt's own accepting, which looks at the path again.
        if (asked.accepting)
            static_cast<QDialog&>(dialog_).accept();
    }

    void clearListSelection() {
        auto* list = dialog_.findChild<QAbstractItemView*>(QStringLiteral("listView"));
        if (list && list->selectionModel())
            list->selectionModel()->clearSelection();
    }

    void dropWhatIsAwaited() {
        ++asked_;
        latest_ = {};
        endWaiting();
    }

    // The dialog goes: its model, whose reading thread may wait on a mount
    // (one asked about here, or one the folder shown merely holds), and the
    // icons it reads with are kept aside until that thread is free.
    void leaveModelBehind() {
        if (model_)
            letFileListGo(*model_, fileIconsOf(dialog_));
    }

    // The accept button says so.
    void showWaiting() {
        const auto which = dialog_.acceptMode() == QFileDialog::AcceptOpen ? QDialogButtonBox::Open
                                                                           : QDialogButtonBox::Save;
        if (QPushButton* accept = buttons_.button(which)) {
            accept->setEnabled(false);
            accept->setText(waitingText());
        }
        waitingShown_ = true;
    }

    // The screen reader hears the wait once, from the field the user is in,
    // until it ends, and only once the user acted: said while a name is
    // typed, the next key's echo cut it short and the silence after Return
    // stayed.
    void sayWaiting() {
        if (waitingHeard_ || !waitingShown_ || !acting())
            return;
        speakNotice(&field_, waitingText());
        waitingHeard_ = true;
    }

    void endWaiting() {
        waiting_.stop();
        saying_.stop();
        waitingShown_ = false;
        waitingHeard_ = false;
    }

    QFileDialog& dialog_;
    QLineEdit& field_;
    QDialogButtonBox& buttons_;
    QFileSystemModel* model_;
    PathLookUps lookUps_;
    // The latest question asked: an older answer that comes later is
    // dropped.
    unsigned asked_ = 0;
    Question latest_;
    QTimer waiting_;
    QTimer saying_;
    // Shown, and said, once a wait began, until it ends.
    bool waitingShown_ = false;
    bool waitingHeard_ = false;
};

}  // namespace

void checkTypedPathsOffTheWindowThread(QFileDialog& dialog) {
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (!field || !buttons)
        return;
    // Qt's own handling of the text, run once the file system has answered:
    // where the dialog has it.
    const QMetaObject& meta = *dialog.metaObject();
    if (meta.indexOfSlot("_q_autoCompleteFileName(QString)") < 0 ||
        meta.indexOfSlot("_q_updateOkButton()") < 0)
        return;
    QObject::disconnect(field, SIGNAL(textChanged(QString)), &dialog,
                        SLOT(_q_autoCompleteFileName(QString)));
    QObject::disconnect(field, SIGNAL(textChanged(QString)), &dialog, SLOT(_q_updateOkButton()));
    QObject::disconnect(field, SIGNAL(returnPressed()), &dialog, SLOT(accept()));
    QObject::disconnect(buttons, SIGNAL(accepted()), &dialog, SLOT(accept()));
    auto* model = dialog.findChild<QFileSystemModel*>();
    // The completion list asks the model to read each folder typed; to watch
    // one, the model would look at it on the window thread.
    if (model) {
        model->setOption(QFileSystemModel::DontWatchForChanges);
        followFileListReading(*model);
    }
    new TypedPathCheck(dialog, *field, *buttons, model);
}

}  // namespace quorvane
