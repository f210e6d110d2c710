#include "views/file_dialogs/typed_path_check.hpp"

#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "views/file_dialogs/name_typed_file_icons.hpp"

namespace quorvane {

namespace {

// How late an answer may be before the dialog shows that it waits: typing
// on a disk that answers shows nothing.
constexpr int kShowWaitingAfterMs = 200;
// Found by that name among the dialog's children while it runs.
constexpr char kWaitingTimerName[] = "typedPathWaiting";
// What the threads that ask are called, as a debugger or ps lists them.
constexpr char kAskingThreadName[] = "path look-up";

// What Qt's dialog asks of the file system for a path typed or opened: the
// path itself, every folder above it, whether the user may read, write and
// enter it (asked as a folder opens, and never kept by the kernel), and how
// long a name its folder takes.
void askFileSystemAbout(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    for (auto folder = path.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        ::stat(folder.c_str(), &info);
        if (folder == folder.root_path())
            break;
    }
    for (const int right : {R_OK, W_OK, X_OK})
        ::access(path.c_str(), right);
    ::pathconf(path.parent_path().c_str(), _PC_NAME_MAX);
}

// What the threads that ask share with the dialog's check, which may be
// gone by the time the file system answers them.
struct Answers {
    std::mutex mutex;
    // The check, while it lives.
    QObject* check = nullptr;
};

// A model whose reading thread may wait on a mount that stopped answering
// goes on a thread of its own: deleting it waits for that thread. Called
// once the dialog is wholly gone, so that none of its views is left to ask
// the model anything. Where the mount never answers, the thread and the
// model stay until the process ends.
void buryModel(QFileSystemModel* model) {
    auto* grave = new QThread;
    model->moveToThread(grave);
    QObject::connect(model, &QObject::destroyed, grave, &QThread::quit, Qt::DirectConnection);
    QObject::connect(grave, &QThread::finished, grave, &QObject::deleteLater);
    model->deleteLater();
    grave->start();
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
          answers_(std::make_shared<Answers>()),
          waiting_(this) {
        answers_->check = this;
        waiting_.setObjectName(QLatin1String(kWaitingTimerName));
        waiting_.setSingleShot(true);
        waiting_.setInterval(kShowWaitingAfterMs);
        connect(&waiting_, &QTimer::timeout, this, [this] { showWaiting(); });
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
    ~TypedPathCheck() override {
        std::lock_guard lock(answers_->mutex);
        answers_->check = nullptr;
    }
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
        const bool stillAccepting = latest_.accepting && !latest_.opened.isValid() &&
                                    latest_.text == text;
        latest_ = Question{text, accepting || stillAccepting, {}};
        ask(pathOf(text));
    }

    // An item of the list opened (a double click, Return): the dialog opens
    // it once the file system has answered for it.
    void open(const QModelIndex& item) {
        latest_ = Question{field_.text(), false, item};
        ask(pathOf(item));
    }

    // A thread of its own asks at once; the asking thread holds nothing of
    // the models, which stay here, on the window thread.
    void ask(std::filesystem::path path) {
        if (!waiting_.isActive())
            waiting_.start();
        const unsigned question = ++asked_;
        std::thread([answers = answers_, path = std::move(path), question] {
            ::pthread_setname_np(::pthread_self(), kAskingThreadName);
            askFileSystemAbout(path);
            std::lock_guard lock(answers->mutex);
            if (!answers->check)
                return;
            auto* check = static_cast<TypedPathCheck*>(answers->check);
            QMetaObject::invokeMethod(
                check, [check, question] { check->answered(question); }, Qt::QueuedConnection);
        }).detach();
    }

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
        waiting_.stop();
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
        waiting_.stop();
    }

    // The dialog goes: its model, whose reading thread may wait on a mount
    // (one asked about here, or one the folder shown merely holds), and the
    // icons it reads with, go on a thread of their own, in that order.
    void leaveModelBehind() {
        if (!model_)
            return;
        model_->setParent(nullptr);
        if (QObject* icons = fileIconsOf(dialog_)) {
            icons->setParent(nullptr);
            connect(model_, &QObject::destroyed, icons, &QObject::deleteLater);
        }
        QMetaObject::invokeMethod(
            model_, [model = model_] { buryModel(model); }, Qt::QueuedConnection);
    }

    void showWaiting() {
        const auto which = dialog_.acceptMode() == QFileDialog::AcceptOpen ? QDialogButtonBox::Open
                                                                           : QDialogButtonBox::Save;
        if (QPushButton* accept = buttons_.button(which)) {
            accept->setEnabled(false);
            accept->setText(QStringLiteral("확인하는 중…"));
        }
    }

    QFileDialog& dialog_;
    QLineEdit& field_;
    QDialogButtonBox& buttons_;
    QFileSystemModel* model_;
    std::shared_ptr<Answers> answers_;
    // The latest question asked: an older answer that comes later is
    // dropped.
    unsigned asked_ = 0;
    Question latest_;
    QTimer waiting_;
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
    if (model)
        model->setOption(QFileSystemModel::DontWatchForChanges);
    new TypedPathCheck(dialog, *field, *buttons, model);
}

}  // namespace quorvane
