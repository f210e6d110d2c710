#include "views/file_dialogs/dialog_start.hpp"

#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QSettings>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <thread>

namespace quorvane {

namespace {

namespace fs = std::filesystem;

// What the threads that ask are called, as a debugger or ps lists them.
constexpr char kAskingThreadName[] = "folder look-up";
// Look-ups waiting at once at most: a few mounts that stopped answering
// hold no more threads than that, however often a dialog is asked for.
constexpr std::size_t kMostWaiting = 3;

// What Qt's dialog asks of the file system about the folder it opens in:
// the folder and every folder above it, and whether the user may enter it.
bool isAFolder(const fs::path& folder) {
    struct stat info {};
    for (auto above = folder.parent_path(); !above.empty(); above = above.parent_path()) {
        ::stat(above.c_str(), &info);
        if (above == above.root_path())
            break;
    }
    const bool found = ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    ::access(folder.c_str(), X_OK);
    return found;
}

// The folder Qt's dialog last used in an earlier run, as Qt keeps it.
fs::path folderQtRemembers() {
    const QSettings settings(QSettings::UserScope, QStringLiteral("QtProject"));
    const QUrl folder(settings.value(QStringLiteral("FileDialog/lastVisited")).toString());
    return folder.isLocalFile() ? fs::path(folder.toLocalFile().toStdString()) : fs::path();
}

// Qt's settings made to hold `folder` as the one its dialog last used.
void keepInQtSettings(const fs::path& folder) {
    QSettings(QSettings::UserScope, QStringLiteral("QtProject"))
        .setValue(QStringLiteral("FileDialog/lastVisited"),
                  QUrl::fromLocalFile(QString::fromStdString(folder.string())).toString());
}

// A note on why the dialog opens where it does, under its own rows. A
// screen reader reads it with the dialog as it opens, as it reads every
// text of a dialog that names no control: said once more as a notification,
// it was heard twice.
void addStartNote(QFileDialog& dialog, const QString& text) {
    auto* label = new QLabel(text, &dialog);
    label->setObjectName(QStringLiteral("startFolderNote"));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(label, grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

DialogStartFolder DialogStart::next() {
    const fs::path last = remembered();
    const FolderAnswer answer = last.is_absolute() ? ask(last) : FolderAnswer::none;
    // Qt's side bar looks at the home folder on this thread anyway.
    const QString home = QDir::homePath();
    return dialogStartFolder(last, answer,
                             QFileInfo(home).isDir() ? fs::path(home.toStdString()) : fs::path());
}

void DialogStart::pointQtAt(const DialogStartFolder& start, QFileDialog* last) {
    keepInQtSettings(start.folder);
    // A place that is no local folder is taken as it is, looked at by no
    // one, and leaves the dialog's own list alone; the new dialog then
    // goes to the folder it is given.
    if (last)
        last->setDirectoryUrl(QUrl(QStringLiteral("quorvane:start")));
}

void DialogStart::follow(QFileDialog& dialog, const DialogStartFolder& start) {
    if (!start.note.empty())
        addStartNote(dialog, QString::fromStdString(start.note));
    auto chosen = std::make_shared<fs::path>();
    QObject::connect(&dialog, &QFileDialog::fileSelected, &dialog,
                     [chosen](const QString& file) { *chosen = file.toStdString(); });
    QObject::connect(&dialog, &QDialog::finished, &dialog, [this, &dialog, start, chosen] {
        const fs::path shown = dialog.directory().absolutePath().toStdString();
        remembered_ = folderToRemember(remembered(), start, shown, *chosen);
        keepQtMemory();
    });
    // Made: what Qt keeps is the folder last used again.
    keepQtMemory();
}

// Between openings, never the place a dialog was pointed at while the next
// was made. Where no dialog was asked for, Qt's settings hold what they held.
void DialogStart::keepQtMemory() {
    if (!rememberedRead_ || !remembered_.is_absolute())
        return;
    keepInQtSettings(remembered_);
}

// A thread of its own asks; this one waits for its answer a moment at
// most. One still waiting is not asked again, nor are more than a few.
FolderAnswer DialogStart::ask(const fs::path& folder) {
    std::erase_if(waiting_, [](const LookUp& lookUp) {
        return lookUp.isFolder.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    const bool asked = std::ranges::any_of(
        waiting_, [&](const LookUp& lookUp) { return lookUp.folder == folder; });
    if (asked || waiting_.size() >= kMostWaiting)
        return FolderAnswer::late;
    std::promise<bool> promise;
    std::shared_future<bool> answer = promise.get_future().share();
    std::thread([promise = std::move(promise), folder]() mutable {
        ::pthread_setname_np(::pthread_self(), kAskingThreadName);
        promise.set_value(isAFolder(folder));
    }).detach();
    if (answer.wait_for(patience_) == std::future_status::ready)
        return answer.get() ? FolderAnswer::folder : FolderAnswer::none;
    waiting_.push_back({folder, std::move(answer)});
    return FolderAnswer::late;
}

fs::path DialogStart::remembered() {
    if (!rememberedRead_) {
        remembered_ = folderQtRemembers();
        rememberedRead_ = true;
    }
    return remembered_;
}

}  // namespace quorvane
