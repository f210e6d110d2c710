#include <gtest/gtest.h>

#include "presentation/settings/dialog_start_folder.hpp"

namespace quorvane {
namespace {

// The folder last used only where it answered as a folder in time; else
// home, else the root, naming a folder that did not answer. The next
// dialog starts at the chosen file's folder, else where the last was left,
// unless that is where it fell back.
TEST(DialogStartFolderTest, TheLastFolderWhereItAnswersInTimeElseHomeSayingWhy) {
    const std::string late = "마지막으로 쓴 폴더가 응답하지 않아 ";
    EXPECT_EQ(dialogStartFolder("/m/a", FolderAnswer::folder, "/h"),
              (DialogStartFolder{"/m/a", ""}));
    EXPECT_EQ(dialogStartFolder("/m/a", FolderAnswer::none, "/h"), (DialogStartFolder{"/h", ""}));
    EXPECT_EQ(dialogStartFolder("/m/a", FolderAnswer::late, "/h"),
              (DialogStartFolder{"/h", late + "홈 폴더에서 엽니다: /m/a"}));
    EXPECT_EQ(dialogStartFolder("/m/a", FolderAnswer::late, ""),
              (DialogStartFolder{"/", late + "최상위 폴더에서 엽니다: /m/a"}));
    EXPECT_EQ(dialogStartFolder("", FolderAnswer::late, "/h"), (DialogStartFolder{"/h", ""}));
    EXPECT_EQ(dialogStartFolder("m/a", FolderAnswer::folder, "/h"), (DialogStartFolder{"/h", ""}));

    const DialogStartFolder fellBack{"/h", "note"};
    EXPECT_EQ(folderToRemember("/m/a", fellBack, "/h", "/s/b.json"), "/s");
    EXPECT_EQ(folderToRemember("/m/a", {"/m/a", ""}, "/t", ""), "/t");
    EXPECT_EQ(folderToRemember("/m/a", fellBack, "/h", ""), "/m/a");
    EXPECT_EQ(folderToRemember("/m/a", fellBack, "/t", ""), "/t");
}

}  // namespace
}  // namespace quorvane
