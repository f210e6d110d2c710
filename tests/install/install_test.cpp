// `cmake --install` of this build into a temporary prefix: the files a
// desktop needs are where it looks for them, the menu entry validates and the
// installed command still reaches the application next to it.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/executable_run.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& file) {
    std::ifstream stream(file);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

class InstallTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string pattern = (fs::temp_directory_path() / "quorvane-prefix-XXXXXX").string();
        prefix = ::mkdtemp(pattern.data());
        const std::string command = "cmake --install \"" QUORVANE_BINARY_DIR "\" --prefix \"" +
                                    prefix.string() + "\" >\"" + (prefix / "install.log").string() +
                                    "\" 2>&1";
        installStatus = std::system(command.c_str());
    }
    static void TearDownTestSuite() { fs::remove_all(prefix); }

    void SetUp() override { ASSERT_EQ(installStatus, 0) << readText(prefix / "install.log"); }

    static inline fs::path prefix;
    static inline int installStatus = -1;
};

TEST_F(InstallTest, TheMenuEntryHandlesTheSchemeAndValidates) {
    const auto entry = prefix / "share/applications/quorvane.desktop";
    ASSERT_TRUE(fs::exists(entry));
    const auto text = readText(entry);
    EXPECT_NE(text.find("\nExec=quorvane %u\n"), std::string::npos);
    EXPECT_NE(text.find("\nMimeType=x-scheme-handler/quorvane;\n"), std::string::npos);
    const std::string validate = "desktop-file-validate \"" + entry.string() + "\"";
    EXPECT_EQ(std::system(validate.c_str()), 0);
    EXPECT_TRUE(fs::exists(prefix / "share/icons/hicolor/scalable/apps/quorvane.svg"));
}

TEST_F(InstallTest, TheUdevRuleOpensOnlyDisplayAdapterBusesToTheSeat) {
    const auto rule = readText(prefix / "lib/udev/rules.d/60-quorvane-i2c.rules");
    std::istringstream lines(rule);
    std::string line;
    int rules = 0;
    while (std::getline(lines, line)) {
        if (line.empty() || line.front() == '#')
            continue;
        ++rules;
        // Every rule is about i2c-dev nodes under a display-class PCI device;
        // a rule without the class match would open every i2c bus.
        EXPECT_NE(line.find("SUBSYSTEM==\"i2c-dev\""), std::string::npos) << line;
        EXPECT_NE(line.find("ATTRS{class}==\"0x03"), std::string::npos) << line;
        EXPECT_NE(line.find("TAG+=\"uaccess\""), std::string::npos) << line;
        EXPECT_EQ(line.find("MODE="), std::string::npos) << line;
    }
    EXPECT_EQ(rules, 1);
}

TEST_F(InstallTest, TheInstalledCommandFindsTheApplicationInLibexec) {
    testing::TemporaryHome home;
    // Without an X server the handed-over application says so itself: the
    // entry found it under libexec/quorvane.
    const std::string command = "env -i HOME=\"" + home.path().string() + "\" \"" +
                                (prefix / "bin/quorvane").string() + "\" 2>\"" +
                                (home.path() / "err").string() + "\"";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 1);
    EXPECT_EQ(readText(home.path() / "err"),
              "quorvane: DISPLAY가 설정되지 않았습니다. 창 애플리케이션에는 X 서버가 필요합니다\n");
    EXPECT_TRUE(fs::exists(prefix / "libexec/quorvane/quorvane-app"));
    EXPECT_FALSE(fs::exists(prefix / "bin/quorvane-app"));
}

}  // namespace
}  // namespace quorvane
