#include <gtest/gtest.h>

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
