#pragma once

#include <filesystem>
#include <string>

namespace quorvane {

// What the file system told, within the time a dialog's opening may take,
// about the folder a file dialog last used.
enum class FolderAnswer {
    // It is a folder: the dialog may look at it.
    folder,
    // It is gone, or no folder.
    none,
    // No answer in time: a mount whose server stopped answering (a dead
    // sshfs, a stalled network share) may hold any look at it for good.
    late,
};

// Where a file dialog opens, and why it is not the folder last used (empty
// when it is, or when none was).
struct DialogStartFolder {
    std::filesystem::path folder;
    std::string note;

    bool operator==(const DialogStartFolder&) const = default;
};

// The folder last used (`remembered`, empty when none) where it answered as
// a folder in time; else the user's home folder (`home`, empty where it is
// no folder), else the root folder. A folder that did not answer in time is
// named in the note, so that the user knows why the dialog is elsewhere.
DialogStartFolder dialogStartFolder(const std::filesystem::path& remembered, FolderAnswer answer,
                                    const std::filesystem::path& home);

// The folder the next dialog starts from, once a dialog that opened at
// `start` closed: the folder of the file chosen (`chosen`, empty when none
// was), else the folder it showed as it closed (`shown`). A dialog left
// where it fell back because the folder last used did not answer keeps
// that folder for the next: once its mount answers again, it is there.
std::filesystem::path folderToRemember(const std::filesystem::path& remembered,
                                       const DialogStartFolder& start,
                                       const std::filesystem::path& shown,
                                       const std::filesystem::path& chosen);

}  // namespace quorvane
