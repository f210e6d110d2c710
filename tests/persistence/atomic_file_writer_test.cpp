#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "services/persistence/atomic_file_writer.hpp"
#include "services/persistence/quorvane_file_write_error.hpp"
#include "support/child_process.hpp"
#include "support/temporary_folder.hpp"

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

std::string writeError(const fs::path& target, const std::string& bytes) {
    try {
        writeFileAtomically(target, bytes);
    } catch (const QuorvaneFileWriteError& error) {
        return error.description();
    }
    return "written";
}

TEST(AtomicFileWriterTest, ReplacesTheWholeFileAndKeepsItsPermissions) {
    TemporaryFolder folder;
    const auto target = folder / "report.json";
    writeContents(target, std::string(4096, 'o'));
    ::chmod(target.c_str(), 0640);

    writeFileAtomically(target, "{\"new\":true}");
    EXPECT_EQ(fileContents(target), "{\"new\":true}");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"report.json"});
}

TEST(AtomicFileWriterTest, ANewFileFollowsTheUmaskLikeAnyOther) {
    TemporaryFolder folder;
    const mode_t previous = ::umask(027);
    writeFileAtomically(folder / "new.json", "{}");
    ::umask(previous);
    EXPECT_EQ(fs::status(folder / "new.json").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(AtomicFileWriterTest, AMissingFolderOrAFolderAtTheNameIsReportedByName) {
    TemporaryFolder folder;
    EXPECT_EQ(writeError(folder / "absent" / "settings.json", "{}"),
              "\u2018settings.json\u2019 파일을 저장할 폴더가 없습니다.");
    fs::create_directory(folder / "taken.json");
    EXPECT_EQ(writeError(folder / "taken.json", "{}"),
              "\u2018taken.json\u2019은(는) 파일이 아니라 폴더입니다.");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"taken.json"});
}

TEST(AtomicFileWriterTest, AFolderTheUserMayNotWriteLeavesNoFile) {
    TemporaryFolder folder;
    const auto locked = folder / "locked";
    fs::create_directory(locked);
    ::chmod(locked.c_str(), 0555);
    const auto outcome =
        outputOfChild([&] { return writeError(locked / "settings.json", "{}"); }, true);
    EXPECT_EQ(outcome, "\u2018settings.json\u2019 파일을 저장할 권한이 없습니다.");
    EXPECT_TRUE(fs::is_empty(locked));
}

TEST(AtomicFileWriterTest, AWriteCutShortLeavesTheOldFileWholeAndNoTemporaryFile) {
    TemporaryFolder folder;
    const auto target = folder / "settings.json";
    writeContents(target, "old settings");
    // The child may write only 1 KiB per file, as on a nearly full disk.
    const auto outcome = outputOfChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return writeError(target, std::string(64 * 1024, 'n'));
    });
    EXPECT_EQ(outcome, "저장 공간이 부족해 \u2018settings.json\u2019 파일을 저장하지 못했습니다.");
    EXPECT_EQ(fileContents(target), "old settings");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"settings.json"});
}

}  // namespace
}  // namespace quorvane::testing
