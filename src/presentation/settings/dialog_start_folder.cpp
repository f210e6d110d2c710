#include "presentation/settings/dialog_start_folder.hpp"

namespace quorvane {

DialogStartFolder dialogStartFolder(const std::filesystem::path& remembered, FolderAnswer answer,
                                    const std::filesystem::path& home) {
    const bool known = remembered.is_absolute();
    if (known && answer == FolderAnswer::folder)
        return {remembered, {}};
    const bool atHome = home.is_absolute();
    DialogStartFolder start{atHome ? home : std::filesystem::path("/"), {}};
    if (known && answer == FolderAnswer::late)
        start.note = "마지막으로 쓴 폴더가 응답하지 않아 " +
                     std::string(atHome ? "홈 폴더" : "최상위 폴더") +
                     "에서 엽니다: " + remembered.string();
    return start;
}

std::filesystem::path folderToRemember(const std::filesystem::path& remembered,
                                       const DialogStartFolder& start,
                                       const std::filesystem::path& shown,
                                       const std::filesystem::path& chosen) {
    if (!chosen.empty())
        return chosen.parent_path();
    if (!start.note.empty() && shown == start.folder)
        return remembered;
    return shown;
}

}  // namespace quorvane
