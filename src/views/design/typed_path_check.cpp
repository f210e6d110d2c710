#include "views/design/typed_path_check.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace quorvane {

namespace {

// How late an answer may be before the dialog shows that it waits: typing
// on a disk that answers shows nothing.
constexpr int kShowWaitingAfterMs = 200;

// What Qt's dialog asks of the file system for a typed path: the path
// itself, every folder above it, and how long a name its folder takes.
void askFileSystemAbout(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    for (auto folder = path.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        ::stat(folder.c_str(), &info);
        if (folder == folder.root_path())
            break;
    }
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
        // Deleted after this check, which may have to keep it.
        if (model_)
            model_->setParent(&dialog_);
    }
    ~TypedPathCheck() override {
        std::lock_guard lock(answers_->mutex);
        answers_->check = nullptr;
        if (answers_->awaited > 0 && model_) {
            model_->setParent(nullptr);
            answers_->leftBehind = model_;
        }
    }
    TypedPathCheck(const TypedPathCheck&) = delete;
    TypedPathCheck& operator=(const TypedPathCheck&) = delete;

  private:
    struct Asked {
        QString text;
        bool accepting = false;
    };

    // The text as the dialog reads it: a name in the folder it shows, or
    // a path of its own.
    std::filesystem::path pathOf(const QString& text) const {
        const std::filesystem::path typed(text.toStdString());
        if (typed.is_absolute())
            return typed;
        return std::filesystem::path(dialog_.directory().absolutePath().toStdString()) / typed;
    }

    void ask(const QString& text, bool accepting) {
        // Accepting holds for the text it was asked for, until it changes.
        const bool stillAccepting = next_ && next_->accepting && next_->text == text;
        next_ = Asked{text, accepting || stillAccepting};
        if (!asking_)
            askNext();
    }

    void askNext() {
        const Asked asked = *std::exchange(next_, std::nullopt);
        asking_ = true;
        if (!waiting_.isActive())
            waiting_.start();
        {
            std::lock_guard lock(answers_->mutex);
            ++answers_->awaited;
        }
        std::thread([answers = answers_, path = pathOf(asked.text), asked] {
            askFileSystemAbout(path);
            std::lock_guard lock(answers->mutex);
            --answers->awaited;
            if (answers->check) {
                auto* check = static_cast<TypedPathCheck*>(answers->check);
                QMetaObject::invokeMethod(
                    check, [check, asked] { check->answered(asked); }, Qt::QueuedConnection);
            } else if (answers->awaited == 0 && answers->leftBehind) {
                answers->leftBehind->deleteLater();
                answers->leftBehind = nullptr;
            }
        }).detach();
    }

    // The file system answered for `asked`: Qt's dialog looks at the text
    // the field still holds, and accepts it when asked to.
    void answered(const Asked& asked) {
        asking_ = false;
        if (next_) {
            askNext();
            return;
        }
        waiting_.stop();
        if (field_.text() != asked.text)
            return;
        QMetaObject::invokeMethod(&dialog_, "_q_autoCompleteFileName", Q_ARG(QString, asked.text));
        QMetaObject::invokeMethod(&dialog_, "_q_updateOkButton");
        // Qt's own accepting, which looks at the path again.
        if (asked.accepting)
            static_cast<QDialog&>(dialog_).accept();
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
    bool asking_ = false;
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
