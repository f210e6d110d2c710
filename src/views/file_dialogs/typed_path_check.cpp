#include "views/file_dialogs/typed_path_check.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "views/file_dialogs/name_typed_file_icons.hpp"

namespace quorvane {

namespace {

// How late an answer may be before the dialog shows that it waits: typing
// on a disk that answers shows nothing.
constexpr int kShowWaitingAfterMs = 200;

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
    // Asked and not answered yet.
    int awaited = 0;
    // The file list's model of a dialog gone while an answer was awaited.
    QFileSystemModel* leftBehind = nullptr;
};

class TypedPathCheck final : public QObject {
  public:
    TypedPathCheck(QFileDialog& dialog, QLineEdit& field, QDialogButtonBox& buttons,
                   QFileSystemModel* model)
        : QObject(&dialog),
          dialog_(dialog),
          field_(field),
          buttons_(buttons),
          model_(model),
          answers_(std::make_shared<Answers>()) {
        answers_->check = this;
        waiting_.setSingleShot(true);
        waiting_.setInterval(kShowWaitingAfterMs);
        connect(&waiting_, &QTimer::timeout, this, [this] { showWaiting(); });
        connect(&field_, &QLineEdit::textChanged, this,
                [this](const QString& text) { ask(text, false); });
        connect(&field_, &QLineEdit::returnPressed, this, [this] { ask(field_.text(), true); });
        connect(&buttons_, &QDialogButtonBox::accepted, this, [this] { ask(field_.text(), true); });
        for (auto* view : dialog_.findChildren<QAbstractItemView*>()) {
            if (QObject::disconnect(view, SIGNAL(activated(QModelIndex)), &dialog_,
                                    SLOT(_q_enterDirectory(QModelIndex))))
                connect(view, &QAbstractItemView::activated, this,
                        [this](const QModelIndex& item) { open(item); });
        }
        // A widget tells of its end before its children go.
        connect(&dialog_, &QObject::destroyed, this, [this] { keepModelWhileAwaited(); });
    }
    ~TypedPathCheck() override {
        std::lock_guard lock(answers_->mutex);
        answers_->check = nullptr;
        // Answered between the dialog's end and this: no thread is left to
        // let the model go.
        if (answers_->awaited == 0 && answers_->leftBehind) {
            answers_->leftBehind->deleteLater();
            answers_->leftBehind = nullptr;
        }
    }
    TypedPathCheck(const TypedPathCheck&) = delete;
    TypedPathCheck& operator=(const TypedPathCheck&) = delete;

  private:
    struct Asked {
        QString text;
        bool accepting = false;
        // An item of the list opened (a folder to show, a file to take).
        QPersistentModelIndex opened;
    };

    // The text as the dialog reads it: a name in the folder it shows, or
    // a path of its own; an opened item's own path.
    std::filesystem::path pathOf(const Asked& asked) const {
        if (asked.opened.isValid())
            return asked.opened.data(QFileSystemModel::FilePathRole).toString().toStdString();
        const std::filesystem::path typed(asked.text.toStdString());
        if (typed.is_absolute())
            return typed;
        return std::filesystem::path(dialog_.directory().absolutePath().toStdString()) / typed;
    }

    void ask(const QString& text, bool accepting) {
        // Accepting holds for the text it was asked for, until it changes.
        const bool stillAccepting =
            next_ && next_->accepting && !next_->opened.isValid() && next_->text == text;
        next_ = Asked{text, accepting || stillAccepting, {}};
        if (!asking_)
            askNext();
    }

    // An item of the list opened (a double click, Return): the dialog opens
    // it once the file system has answered for it.
    void open(const QModelIndex& item) {
        next_ = Asked{field_.text(), false, item};
        if (!asking_)
            askNext();
    }

    // The asking thread holds nothing of the models: the item opened stays
    // here, on the window thread.
    void askNext() {
        asking_ = std::exchange(next_, std::nullopt);
        if (!waiting_.isActive())
            waiting_.start();
        {
            std::lock_guard lock(answers_->mutex);
            ++answers_->awaited;
        }
        std::thread([answers = answers_, path = pathOf(*asking_)] {
            askFileSystemAbout(path);
            std::lock_guard lock(answers->mutex);
            --answers->awaited;
            if (answers->check) {
                auto* check = static_cast<TypedPathCheck*>(answers->check);
                QMetaObject::invokeMethod(
                    check, [check] { check->answered(); }, Qt::QueuedConnection);
            } else if (answers->awaited == 0 && answers->leftBehind) {
                answers->leftBehind->deleteLater();
                answers->leftBehind = nullptr;
            }
        }).detach();
    }

    // The file system answered for what was asked: Qt's dialog opens the
    // item, or looks at the text the field still holds and accepts it when
    // asked to.
    void answered() {
        const Asked asked = *std::exchange(asking_, std::nullopt);
        if (next_) {
            askNext();
            return;
        }
        waiting_.stop();
        if (asked.opened.isValid()) {
            QMetaObject::invokeMethod(&dialog_, "_q_enterDirectory",
                                      Q_ARG(QModelIndex, QModelIndex(asked.opened)));
            QMetaObject::invokeMethod(&dialog_, "_q_updateOkButton");
            return;
        }
        if (field_.text() != asked.text)
            return;
        QMetaObject::invokeMethod(&dialog_, "_q_autoCompleteFileName", Q_ARG(QString, asked.text));
        QMetaObject::invokeMethod(&dialog_, "_q_updateOkButton");
        // Qt's own accepting, which looks at the path again.
        if (asked.accepting)
            static_cast<QDialog&>(dialog_).accept();
    }

    // The dialog goes while an answer is awaited: its model, whose reading
    // thread may wait on the same mount, and the icons it reads with, stay
    // until the answer comes, then go in that order.
    void keepModelWhileAwaited() {
        std::lock_guard lock(answers_->mutex);
        if (answers_->awaited == 0 || !model_)
            return;
        model_->setParent(nullptr);
        if (QObject* icons = fileIconsOf(dialog_)) {
            icons->setParent(nullptr);
            connect(model_, &QObject::destroyed, icons, &QObject::deleteLater);
        }
        answers_->leftBehind = model_;
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
    // What the file system is asked about now, and what it is to be asked
    // about next, once it answered.
    std::optional<Asked> asking_;
    std::optional<Asked> next_;
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
