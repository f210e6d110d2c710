#include <gtest/gtest.h>

#include "services/automation/quorvane_automation_url_coordinator.hpp"
#include "services/automation/quorvane_automation_url_parser.hpp"
#include "services/automation/url_components.hpp"

namespace quorvane {
namespace {

using Command = QuorvaneAutomationCommand;
using Target = QuorvaneAutomationTarget;
using Error = QuorvaneAutomationURLError;

Error errorOf(std::string_view url) {
    try {
        QuorvaneAutomationURLParser::command(url);
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "expected an error for " << url;
    return Error(Error::Kind::missingCommand);
}

TEST(AutomationUrlParser, HostAndPathFormsOfPlainCommands) {
    EXPECT_EQ(QuorvaneAutomationURLParser::command("QUORVANE://OPEN"), Command::open());
    EXPECT_EQ(QuorvaneAutomationURLParser::command("quorvane:///open"), Command::open());
    EXPECT_EQ(QuorvaneAutomationURLParser::command("quorvane://open/"), Command::open());
    EXPECT_EQ(QuorvaneAutomationURLParser::command("quorvane:open"), Command::open());
    EXPECT_EQ(QuorvaneAutomationURLParser::command("quorvane://diagnostics?"),
              Command::diagnostics());
    EXPECT_EQ(errorOf("quorvane://open/extra"), Error(Error::Kind::unexpectedPath, "/extra"));
    EXPECT_EQ(errorOf("quorvane://"), Error(Error::Kind::missingCommand));
    EXPECT_EQ(errorOf("quorvane://open?x=1"), Error(Error::Kind::unknownQueryKey, "x"));
    EXPECT_EQ(errorOf("quorvane:///apply-safe-preset/extra"),
              Error(Error::Kind::unknownCommand, "apply-safe-preset/extra"));
    EXPECT_EQ(errorOf("quorvane://Reset"), Error(Error::Kind::unknownCommand, "reset"));
}

TEST(AutomationUrlParser, SchemeErrorsCarryTheSchemeAsWritten) {
    const Error file = errorOf("File:///tmp/x");
    EXPECT_EQ(file, Error(Error::Kind::unsupportedScheme, "File"));
    EXPECT_EQ(file.description(), "지원하지 않는 URL 스킴입니다: File");
    EXPECT_EQ(errorOf("open").description(), "지원하지 않는 URL 스킴입니다: 없음");
}

TEST(AutomationUrlParser, ApplySafePresetQueryRules) {
    const std::string base = "quorvane://apply-safe-preset?";
    EXPECT_EQ(QuorvaneAutomationURLParser::command(base + "PRESET=Coding&scope=all-visible"),
              Command::applySafePreset("Coding", Target::allVisible()));
    EXPECT_EQ(QuorvaneAutomationURLParser::command(
                  base + "preset=%20%EC%95%BC%EA%B0%84%20&display=%202%20"),
              Command::applySafePreset("야간", Target::display("2")));
    EXPECT_EQ(QuorvaneAutomationURLParser::command(base + "preset=a&display=&scope=all-visible"),
              Command::applySafePreset("a", Target::allVisible()));
    EXPECT_EQ(errorOf(base + "preset=a&Preset=b"), Error(Error::Kind::duplicateQueryKey, "preset"));
    EXPECT_EQ(errorOf(base + "Preset=a&preset=b"), Error(Error::Kind::duplicateQueryKey, "Preset"));
    EXPECT_EQ(errorOf(base + "preset=a&mode=x"), Error(Error::Kind::unknownQueryKey, "mode"));
    EXPECT_EQ(errorOf(base + "display=1"), Error(Error::Kind::missingPreset));
    EXPECT_EQ(errorOf(base + "preset&display=1"), Error(Error::Kind::missingPreset));
    EXPECT_EQ(errorOf(base + "preset=a&scope=All-Visible"),
              Error(Error::Kind::unknownScope, "All-Visible"));
    EXPECT_EQ(errorOf(base + "preset=a&display=2&scope=all-visible"),
              Error(Error::Kind::conflictingTargets));
    EXPECT_EQ(errorOf(base + "preset=a&scope="), Error(Error::Kind::missingTarget));
    EXPECT_EQ(errorOf(base + "preset=a&display"), Error(Error::Kind::missingTarget));
}

TEST(UrlComponents, KeepsWhatTheLinkSaid) {
    const auto parts = UrlComponents::split("Quorvane://Host:80/a%2Fb?k=v+w&flag&=x#frag");
    EXPECT_EQ(parts.scheme, "Quorvane");
    EXPECT_EQ(parts.host, "Host");
    EXPECT_EQ(parts.path, "/a/b");
    ASSERT_TRUE(parts.queryItems);
    EXPECT_EQ(*parts.queryItems,
              (std::vector<UrlQueryItem>{{"k", "v+w"}, {"flag", std::nullopt}, {"", "x"}}));
    EXPECT_EQ(percentDecoded("%zz%4"), "%zz%4");
}

class AutomationUrlCoordinatorTest : public ::testing::Test {
  protected:
    MonotonicTime start{};
    Date wall = *parseIso8601("2026-12-06T12:00:00Z");
    QuorvaneAutomationURLCoordinator coordinator;

    QuorvaneAutomationURLDispatchResult at(double secondsAfterStart, std::string_view url,
                                           Date wallNow) {
        return coordinator.dispatch(url, start + seconds(secondsAfterStart), wallNow);
    }
};

TEST_F(AutomationUrlCoordinatorTest, RepeatsInsideTheWindowAreIgnoredOnlyAfterBeingHandled) {
    auto first = at(0, "quorvane://open", wall);
    ASSERT_FALSE(first.isDuplicate);
    coordinator.recordHandled(*first.dispatch);
    EXPECT_TRUE(at(0.3, "quorvane://open", wall).isDuplicate);
    EXPECT_FALSE(at(0.3, "quorvane://OPEN", wall).isDuplicate);
    EXPECT_FALSE(at(0.5, "quorvane://open", wall).isDuplicate);
    EXPECT_THROW(at(0.5, "quorvane://nope", wall), Error);

    // A refused command is not recorded, so the same link works again at once.
    const std::string preset = "quorvane://apply-safe-preset?preset=a&scope=all-visible";
    EXPECT_FALSE(at(1.0, preset, wall).isDuplicate);
    EXPECT_FALSE(at(1.3, preset, wall).isDuplicate);
}

TEST_F(AutomationUrlCoordinatorTest, AForgottenURLIsCarriedOutAgainInsideTheWindow) {
    const std::string url = "quorvane://apply-safe-preset?preset=night&display=1";
    coordinator.recordHandled(*at(0, url, wall).dispatch);
    ASSERT_TRUE(at(0.1, url, wall).isDuplicate);
    coordinator.forgetHandled();
    const auto again = at(0.2, url, wall);
    ASSERT_FALSE(again.isDuplicate);
    // Handled again, it is the one copies are measured from.
    coordinator.recordHandled(*again.dispatch);
    EXPECT_TRUE(at(0.6, url, wall).isDuplicate);
    EXPECT_FALSE(at(0.7, url, wall).isDuplicate);
}

// A repeat is a copy only while every display the handled URL wrote reads
// back what it left there; one that reads otherwise, or not at all, makes it
// a new request. A URL that wrote nothing (open) is a copy as before.
TEST_F(AutomationUrlCoordinatorTest, ARepeatIsACopyOnlyWhileTheScreenShowsWhatTheFirstLeft) {
    const std::string url = "quorvane://apply-safe-preset?preset=night&scope=all-visible";
    const GammaRamp night{{0, 100}, {0, 90}, {0, 60}};
    const GammaRamp movie{{0, 100}, {0, 95}, {0, 80}};
    std::map<DisplayID, std::optional<GammaRamp>> screen = {{1, night}, {2, night}, {3, movie}};
    const auto read = [&](DisplayID id) { return screen.at(id); };
    coordinator.recordHandled(*at(0, url, wall).dispatch, {{1, night}, {2, night}});

    EXPECT_TRUE(coordinator.dispatch(url, start + seconds(0.1), wall, read).isDuplicate);
    screen[3] = night;
    EXPECT_TRUE(coordinator.dispatch(url, start + seconds(0.1), wall, read).isDuplicate);
    screen[2] = movie;
    EXPECT_FALSE(coordinator.dispatch(url, start + seconds(0.1), wall, read).isDuplicate);
    screen[2] = std::nullopt;
    EXPECT_FALSE(coordinator.dispatch(url, start + seconds(0.1), wall, read).isDuplicate);
    screen[2] = night;
    EXPECT_TRUE(coordinator.dispatch(url, start + seconds(0.1), wall, read).isDuplicate);
    // Without a way to read the screen, what it left cannot be checked.
    EXPECT_FALSE(at(0.1, url, wall).isDuplicate);

    // Left unread at the time, it is never taken as unchanged.
    coordinator.recordHandled(*at(1, url, wall).dispatch, {{1, std::nullopt}});
    EXPECT_FALSE(coordinator.dispatch(url, start + seconds(1.1), wall, read).isDuplicate);
    coordinator.recordHandled(*at(2, "quorvane://open", wall).dispatch);
    EXPECT_TRUE(
        coordinator.dispatch("quorvane://open", start + seconds(2.1), wall, read).isDuplicate);
}

TEST_F(AutomationUrlCoordinatorTest, AWallClockSetBackDoesNotSuppressRepeats) {
    auto first = at(0, "quorvane://diagnostics", wall);
    coordinator.recordHandled(*first.dispatch);
    const Date setBackTwoHours = wall - std::chrono::hours(2);
    EXPECT_FALSE(at(0.6, "quorvane://diagnostics", setBackTwoHours).isDuplicate);
    EXPECT_EQ(first.dispatch->handledAt, wall);
}

}  // namespace
}  // namespace quorvane
