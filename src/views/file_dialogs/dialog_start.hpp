#pragma once

#include <chrono>
#include <filesystem>
#include <future>
#include <vector>

#include "presentation/settings/dialog_start_folder.hpp"

class QFileDialog;

namespace quorvane {

// Where the next file dialog opens. Qt's dialog opens in the folder last
// used (kept across runs in Qt's own settings) and looks at it on the
// thread that runs the windows as it is made: on a mount whose server
// stopped answering (a dead sshfs, a stalled network share) the windows
// froze before the dialog showed. Here that folder is remembered, and asked
// about by a thread of its own before the dialog is made; the window
// thread waits for the answer a moment at most, and the dialog opens
// elsewhere, saying why, where none came. A folder whose look-up still
// waits is not asked about again until it answers, and only a few look-ups
// wait at once. The dialog is given the folder it opens in, so that it
// never looks at the one Qt remembers itself.
class DialogStart {
  public:
    // How long an opening waits for the file system's answer.
    static constexpr std::chrono::milliseconds kPromptly{250};

    DialogStart() = default;
    DialogStart(const DialogStart&) = delete;
    DialogStart& operator=(const DialogStart&) = delete;

    // The folder the next dialog opens in, looked up as told above.
    DialogStartFolder next();
    // The dialog made to open at `start`: its note shown, read with the
    // dialog, and where it is left remembered for the next.
    void follow(QFileDialog& dialog, const DialogStartFolder& start);

    // Qt's own memory of the folder last used, which a dialog looks at as
    // it is made whatever folder it is given: the last folder a dialog
    // showed in this run (`last`, the dialog that showed it, or none), else
    // the one kept in Qt's settings. Both are pointed away from it until
    // the dialog is made (follow() puts the settings back).
    static void pointQtAt(const DialogStartFolder& start, QFileDialog* last);

    // Qt's settings, every Qt program's and kept across runs, made to hold
    // the folder last used again, as a Qt dialog leaves them.
    void keepQtMemory();

    void setPatience(std::chrono::milliseconds patience) { patience_ = patience; }

  private:
    struct LookUp {
        std::filesystem::path folder;
        std::shared_future<bool> isFolder;
    };

    FolderAnswer ask(const std::filesystem::path& folder);
    std::filesystem::path remembered();

    std::filesystem::path remembered_;
    bool rememberedRead_ = false;
    // The look-ups asked and not yet answered.
    std::vector<LookUp> waiting_;
    std::chrono::milliseconds patience_ = kPromptly;
};

}  // namespace quorvane
