#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "models/coding/localized_text_order.hpp"
#include "models/color/display_color_profile.hpp"
#include "models/color/display_color_profile_state.hpp"

namespace quorvane {
namespace {

DisplayColorProfile profile(std::string id, std::string name, bool current = false,
                            bool isDefault = false, bool factory = false) {
    DisplayColorProfile p;
    p.id = std::move(id);
    p.name = std::move(name);
    p.isCurrent = current;
    p.isDefault = isDefault;
    p.isFactory = factory;
    return p;
}

std::vector<std::string> idsOf(const DisplayColorProfileState& state) {
    std::vector<std::string> ids;
    for (const auto& p : state.profiles)
        ids.push_back(p.id);
    return ids;
}

TEST(DisplayColorProfile, DisplayNameFallsBackThroughModeDescriptionToId) {
    DisplayColorProfile p = profile("P1", "  sRGB Panel \n");
    EXPECT_EQ(p.displayName(), "sRGB Panel");

    p.name = " \t";
    p.modeDescription = "  Wide  ";
    EXPECT_EQ(p.displayName(), "  Wide  ");  // trimming only tests for emptiness

    p.modeDescription = "   ";
    EXPECT_EQ(p.displayName(), "색상 프로파일 P1");
}

TEST(DisplayColorProfile, BadgesInFixedOrder) {
    EXPECT_EQ(profile("a", "A", true, true, true).statusBadges(),
              (std::vector<std::string>{"현재 사용 중", "기본값", "공장 제공"}));
    EXPECT_TRUE(profile("a", "A").statusBadges().empty());
}

TEST(DisplayColorProfileState, AvailableSortsByFlagsThenNameStably) {
    const auto state =
        DisplayColorProfileState::available(7, "UUID-7",
                                            {
                                                profile("b-upper", "B"),
                                                profile("factory", "z", false, false, true),
                                                profile("a-upper", "A"),
                                                profile("default", "y", false, true, false),
                                                profile("current", "x", true),
                                                profile("a-lower", "a"),
                                            });
    EXPECT_EQ(idsOf(state), (std::vector<std::string>{"current", "default", "factory", "a-upper",
                                                      "a-lower", "b-upper"}));
    EXPECT_EQ(state.currentProfileID, "current");
}

// Sets one locale variable for a scope and gives the old value back.
class LocaleVariable {
  public:
    LocaleVariable(const char* name, const char* value) : name_(name) {
        if (const char* before = std::getenv(name))
            before_ = before;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~LocaleVariable() { before_ ? setenv(name_, before_->c_str(), 1) : unsetenv(name_); }
    LocaleVariable(const LocaleVariable&) = delete;
    LocaleVariable& operator=(const LocaleVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> before_;
};

std::vector<std::string> sortedNames(std::vector<std::string> names) {
    std::vector<DisplayColorProfile> profiles;
    for (const auto& name : names)
        profiles.push_back(profile(name, name));
    std::vector<std::string> sorted;
    for (const auto& p : DisplayColorProfileState::available(1, "U", profiles).profiles)
        sorted.push_back(p.name);
    return sorted;
}

// Names sort as the user's language sorts them: an accented capital beside
// its base letter, not after every ASCII letter; letter case never decides,
// accents do; and a language with its own order (Swedish puts "ä" after "z")
// is followed when the environment names it.
TEST(DisplayColorProfileState, NamesSortByTheUsersLanguageWithoutRegardToCase) {
    LocaleVariable all("LC_ALL", nullptr);
    LocaleVariable collate("LC_COLLATE", nullptr);
    LocaleVariable lang("LANG", nullptr);
    EXPECT_EQ(sortedNames({"zebra", "Éclair", "eclair", "Ecran", "apple"}),
              (std::vector<std::string>{"apple", "eclair", "Éclair", "Ecran", "zebra"}));
    EXPECT_EQ(sortedNames({"sRGB", "SRGB", "srgb"}),
              (std::vector<std::string>{"sRGB", "SRGB", "srgb"}));
    EXPECT_EQ(sortedNames({"zebra", "äpple"}), (std::vector<std::string>{"äpple", "zebra"}));

    setenv("LANG", "sv_SE.UTF-8", 1);
    EXPECT_EQ(sortedNames({"äpple", "zebra"}), (std::vector<std::string>{"zebra", "äpple"}));
    // LC_COLLATE goes before LANG, LC_ALL before both.
    setenv("LC_COLLATE", "en_US.UTF-8", 1);
    EXPECT_EQ(sortedNames({"zebra", "äpple"}), (std::vector<std::string>{"äpple", "zebra"}));
    setenv("LC_ALL", "sv_SE", 1);
    EXPECT_EQ(sortedNames({"äpple", "zebra"}), (std::vector<std::string>{"zebra", "äpple"}));
}

TEST(LocalizedTextOrder, TheEnvironmentsLocaleLosesItsCodesetAndModifier) {
    EXPECT_EQ(collationLocaleName("", "de_DE.UTF-8@euro", "sv_SE"), "de_DE");
    EXPECT_EQ(collationLocaleName(nullptr, nullptr, "POSIX"), "");
    EXPECT_EQ(collationLocaleName("C.UTF-8", "sv_SE", nullptr), "");
    EXPECT_EQ(collationLocaleName(nullptr, nullptr, nullptr), "");
}

TEST(DisplayColorProfileState, EmptyReadIsUnavailableWithMessage) {
    const auto state = DisplayColorProfileState::available(3, "U", {});
    EXPECT_EQ(state.availability, DisplayColorProfileState::Availability::unavailable);
    EXPECT_EQ(state.message, "이 디스플레이의 색상 프로파일 정보를 찾지 못했습니다.");
    EXPECT_FALSE(state.currentProfile());
}

TEST(DisplayColorProfileState, CurrentProfileFallsBackToFlag) {
    auto state = DisplayColorProfileState::available(
        1, "U", {profile("one", "One"), profile("two", "Two", true)});
    EXPECT_EQ(state.currentProfile()->id, "two");

    state.currentProfileID = "one";
    EXPECT_EQ(state.currentProfile()->id, "one");

    state.currentProfileID = "gone";
    EXPECT_EQ(state.currentProfile()->id, "two");

    state.profiles[0].isCurrent = false;
    EXPECT_FALSE(state.currentProfile());
}

}  // namespace
}  // namespace quorvane
