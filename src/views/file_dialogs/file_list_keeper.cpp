#include "views/file_dialogs/file_list_keeper.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QFileSystemModel>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QThread>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace quorvane {

namespace {

constexpr char kReadingName[] = "fileListReading";
constexpr char kKeeperName[] = "fileListKeeper";

// The object that sent what `model` takes in now. Qt's model hands on its
// reading thread's "folder read" as its own signal, from inside the queued
// call that thread sent it, so that its sender is the reading thread
// (Qt's QFileInfoGatherer, of which nothing public tells). sender() is
// protected; it is read through a class that makes it public.
QThread* senderThreadOf(QFileSystemModel& model) {
    struct SenderMadePublic : QObject {
        using QObject::sender;
    };
    QObject* (QObject::*sender)() const = &SenderMadePublic::sender;
    return qobject_cast<QThread*>((model.*sender)());
}

// A child of the model: the thread that reads for it, once it has read a
// folder.
class FileListReading final : public QObject {
  public:
    explicit FileListReading(QFileSystemModel& model) : QObject(&model) {
        setObjectName(QLatin1String(kReadingName));
        connect(&model, &QFileSystemModel::directoryLoaded, this, [this, &model] {
            if (QThread* thread = senderThreadOf(model))
                reader = thread;
        });
    }
    QPointer<QThread> reader;
};

QThread* readerOf(QFileSystemModel& model) {
    // Found by its name: it has no meta-object of its own.
    auto* reading =
        model.findChild<QObject*>(QLatin1String(kReadingName), Qt::FindDirectChildrenOnly);
    return reading ? static_cast<FileListReading*>(reading)->reader.data() : nullptr;
}

// Left at the end of the program on purpose: its reading thread may wait on
// a mount for good, and deleting it would wait too. Not a leak to report.
void leaveAtExit(QObject* held) {
    held->setParent(nullptr);
#if defined(__SANITIZE_ADDRESS__)
    __lsan_ignore_object(held);
#endif
}

// One closed dialog's file list, kept aside until its reading thread is
// known free. That thread reads what the model asked, in order: a question
// asked now (a file of the root, by a spelling the model never uses
// itself) is answered once everything asked before is. The model asks
// nothing more of its own but from its timer (a list it fetches later):
// after such a turn, the question is asked again.
class KeptFileList final : public QObject {
  public:
    KeptFileList(QFileSystemModel& model, QObject* icons, QObject& keeper)
        : QObject(&keeper), model_(&model), icons_(icons) {
        // Children go in the order they came: the model, then its icons.
        model.setParent(this);
        if (icons)
            icons->setParent(this);
        model.installEventFilter(this);
        connect(&model, &QFileSystemModel::directoryLoaded, this,
                [this](const QString& path) { loaded(path); });
        // Once the dialog's views are gone too.
        QMetaObject::invokeMethod(
            this, [this] { ask(); }, Qt::QueuedConnection);
    }

    void leave() {
        if (model_)
            leaveAtExit(model_);
        if (icons_)
            leaveAtExit(icons_);
    }

  private:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == model_ && event->type() == QEvent::Timer)
            ++modelTurns_;
        return false;
    }

    // Asked without waiting: the call only queues the question.
    void ask() {
        QThread* reader = readerOf(*model_);
        if (!reader)
            return;
        ++asked_;
        question_ = QStringLiteral("/.").repeated(asked_);
        turnsAsked_ = modelTurns_;
        QMetaObject::invokeMethod(reader, "fetchExtendedInformation", Qt::DirectConnection,
                                  Q_ARG(QString, question_),
                                  Q_ARG(QStringList, QStringList{QStringLiteral(".")}));
    }

    void loaded(const QString& path) {
        // A reading thread first known now, its folder read.
        if (question_.isEmpty()) {
            ask();
            return;
        }
        if (path != question_)
            return;
        QMetaObject::invokeMethod(
            parent(),
            [kept = QPointer(this)] {
                if (kept)
                    kept->goIfFree();
            },
            Qt::QueuedConnection);
    }

    void goIfFree() {
        if (modelTurns_ != turnsAsked_) {
            ask();
            return;
        }
        delete this;
    }

    QPointer<QFileSystemModel> model_;
    QPointer<QObject> icons_;
    QString question_;
    int asked_ = 0;
    int modelTurns_ = 0;
    int turnsAsked_ = 0;
};

// The application's: what it still keeps when the program ends is left.
class FileListKeeper final : public QObject {
  public:
    explicit FileListKeeper(QObject* application) : QObject(application) {
        setObjectName(QLatin1String(kKeeperName));
    }
    ~FileListKeeper() override {
        // Its children are the file lists it keeps, and only they.
        for (QObject* kept : children())
            static_cast<KeptFileList*>(kept)->leave();
    }
    FileListKeeper(const FileListKeeper&) = delete;
    FileListKeeper& operator=(const FileListKeeper&) = delete;
};

QObject& keeper() {
    QCoreApplication* application = QCoreApplication::instance();
    if (auto* found = application->findChild<FileListKeeper*>(QLatin1String(kKeeperName),
                                                              Qt::FindDirectChildrenOnly))
        return *found;
    return *new FileListKeeper(application);
}

}  // namespace

void followFileListReading(QFileSystemModel& model) {
    new FileListReading(model);
}

void letFileListGo(QFileSystemModel& model, QObject* icons) {
    new KeptFileList(model, icons, keeper());
}

}  // namespace quorvane
