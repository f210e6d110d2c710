// scripts/test-ordinary-user runs, as an ordinary user, the selections of
// scripts/ordinary-user-tests. Each listed as ctest lists it, together they
// must hold every test the script promises: a pattern narrowed or a case
// renamed fails here instead of leaving a test unrun as that user.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "suite/ctest_listing.hpp"

namespace quorvane {
namespace {

// The file dialogs' cases that mount a file system of their own.
const std::set<std::string> kDialogsOnAStoppedMount = {
    "FileDialogXcbTest.AFolderOnAMountThatStoppedAnsweringLeavesEachDialogRunning",
    "FileDialogXcbTest.AFolderOnAMountThatStoppedAnsweringOpenedFromTheListLeavesTheDialogRunning",
    "FileDialogXcbTest.ADialogClosedWhileItWaitsDoesNothingOnceTheMountAnswers",
    "FileDialogXcbTest.TheLatestNameTypedIsTheOneChosen",
    "FileDialogXcbTest.AWaitIsHeardOnceUntilItEnds",
    "FileDialogXcbTest.APathTypedOntoAStalledMountWaitsOnFewThreads",
    "FileDialogXcbTest.AnOlderAnswerLeavesANewerNameOnAStalledMountAlone",
    "FileDialogXcbTest.ADialogWhoseLastFolderStoppedAnsweringOpensAtHomeSayingWhy",
};

// Whether the script promises to run `test` as the ordinary user: the
// records' tests, those of processes in namespaces of their own and the
// dialogs above.
bool promised(const nlohmann::json& test) {
    const auto name = test["name"].get<std::string>();
    const auto labels = testing::propertyOf(test, "LABELS");
    const auto labelled = [&](const char* label) {
        return std::find(labels.begin(), labels.end(), label) != labels.end();
    };
    return labelled("persistence") || labelled("cli") ||
           (labelled("x11") && name.starts_with("RequestOrderTest.")) ||
           kDialogsOnAStoppedMount.contains(name);
}

// The tests the selections choose, each `run` of them listed by `ctest -N`.
std::set<std::string> selectedTests() {
    const std::string command =
        "cd '" QUORVANE_BINARY_DIR
        "' && bash -c 'run() { shift; \"$0\" -N \"$@\"; }; . \"$1\"' '" QUORVANE_CTEST_COMMAND
        "' '" QUORVANE_SOURCE_DIR "/scripts/ordinary-user-tests'";
    std::istringstream lines(testing::printedBy(command));
    static const std::regex kListed(R"(^\s*Test\s+#\d+: (\S+)$)");
    std::set<std::string> selected;
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_match(line, match, kListed))
            selected.insert(match[1]);
    }
    return selected;
}

TEST(OrdinaryUserPassTest, ItsSelectionsHoldEveryTestThePassPromises) {
    const auto listed = testing::listedTests();
    ASSERT_TRUE(listed.contains("tests")) << "ctest listed no tests";
    const auto selected = selectedTests();
    std::set<std::string> unselected;
    std::set<std::string> dialogs;
    for (const auto& test : listed["tests"]) {
        const auto name = test["name"].get<std::string>();
        if (promised(test) && !selected.contains(name))
            unselected.insert(name);
        if (kDialogsOnAStoppedMount.contains(name))
            dialogs.insert(name);
    }
    EXPECT_TRUE(unselected.empty())
        << "promised but not run as the ordinary user: " << nlohmann::json(unselected).dump();
    // A dialog's case renamed is no longer promised by name.
    EXPECT_EQ(dialogs, kDialogsOnAStoppedMount);
}

}  // namespace
}  // namespace quorvane
