// scripts/test with its steps played by stand-ins (shell functions in the
// file QUORVANE_TEST_SCRIPT_STAND_INS names): a pass before the whole suite
// that fails fails the script, and what it failed is named after the whole
// suite's summary, so a log cut to its end still tells it.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "support/temporary_folder.hpp"

namespace quorvane {
namespace {

// Every step passing, each saying so; the whole suite's words last.
constexpr const char* kGreenSteps = R"(
prepare() { :; }
namespaces_given() { :; }
released_pass() { echo 'released: 100% tests passed'; }
user_pass() { echo 'as nobody: 100% tests passed'; }
namespace_pass() { echo 'namespace: 100% tests passed'; }
whole_suite() { echo 'whole suite: 100% tests passed'; }
)";

class TestScriptTest : public ::testing::Test {
  protected:
    struct Ended {
        int status = -1;
        // What it printed after the whole suite's summary.
        std::string afterTheSuite;
    };

    // The script, its green steps redefined by `standIns`.
    Ended run(const std::string& standIns) {
        std::ofstream(folder / "stand-ins") << kGreenSteps << standIns;
        const std::string command =
            "QUORVANE_TEST_SCRIPT_STAND_INS='" + (folder / "stand-ins").string() + "' bash '" +
            QUORVANE_SOURCE_DIR "/scripts/test' >'" + (folder / "printed").string() + "' 2>&1";
        const int status = std::system(command.c_str());
        std::ifstream in(folder / "printed");
        const std::string printed{std::istreambuf_iterator<char>(in), {}};
        const auto suite = printed.find("whole suite:");
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                suite == std::string::npos ? printed : printed.substr(suite)};
    }

    testing::TemporaryFolder folder;
};

TEST_F(TestScriptTest, WithEveryPassGreenTheScriptSucceeds) {
    const auto ended = run("");
    EXPECT_EQ(ended.status, 0);
    EXPECT_EQ(ended.afterTheSuite, "whole suite: 100% tests passed\n");
}

// A pass whose tests failed is named with the tests CTest lists; one that
// ended before its tests ran, by its last words.
TEST_F(TestScriptTest, APassThatFailsFailsTheScriptAndIsNamedAfterTheWholeSuite) {
    const struct {
        const char* pass;
        const char* printed;
        const char* told;
    } failures[] = {
        {"released_pass", "The following tests FAILED:\n\t 7 - Released.Fails (Failed)",
         "The command as released failed"},
        {"user_pass", "The following tests FAILED:\n\t 9 - AsNobody.Fails (Failed)",
         "The tests run as an ordinary user failed"},
        {"namespace_pass", "unshare: write failed /proc/self/uid_map",
         "The tests run as root of a user namespace failed"},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.pass);
        const auto ended = run(std::string(failure.pass) + "() { printf '%s\\n' '" +
                               failure.printed + "'; return 8; }\n");
        EXPECT_NE(ended.status, 0);
        EXPECT_NE(ended.afterTheSuite.find(failure.told), std::string::npos) << ended.afterTheSuite;
        EXPECT_NE(ended.afterTheSuite.find(failure.printed), std::string::npos)
            << ended.afterTheSuite;
    }
}

}  // namespace
}  // namespace quorvane
