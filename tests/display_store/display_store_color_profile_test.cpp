#include <gtest/gtest.h>

#include <algorithm>

#include "display_store/store_world.hpp"
#include "models/color/color_profile_error.hpp"

namespace quorvane::testing {
namespace {

constexpr const char* kCalibratedPath = "/home/mina/.local/share/icc/Studio Calibrated.icc";

DisplayColorProfile profile(std::string id, std::string name, bool factory) {
    DisplayColorProfile made;
    made.id = std::move(id);
    made.name = std::move(name);
    made.isFactory = factory;
    made.isCurrent = made.isDefault = factory;
    if (!factory)
        made.url = kCalibratedPath;
    return made;
}

bool holds(const std::vector<std::string>& tokens, const std::string& token) {
    return std::find(tokens.begin(), tokens.end(), token) != tokens.end();
}

TEST(DisplayStoreColorProfileTest, AssignmentAndFactoryRestoreAreReadBackAndRedacted) {
    StoreWorld world;
    world.profiles->setProfiles(1, {profile("factory", "Studio Factory", true),
                                    profile("calibrated", "Calibrated", false)});
    auto& store = world.start();

    store.setColorProfile(" calibrated ", 1);
    EXPECT_EQ(store.statusMessage(), "색상 프로파일 적용됨: Calibrated");
    // The message's tokens arrive after its text and stay with it.
    EXPECT_TRUE(holds(store.diagnosticStatusMessagePrivacyTokens(), kCalibratedPath));
    EXPECT_TRUE(holds(store.diagnosticPrivacyTokens(), kCalibratedPath));

    store.restoreFactoryColorProfile(1);
    EXPECT_EQ(store.statusMessage(),
              "이 디스플레이의 색상 프로파일을 기본/공장값으로 복원했습니다");
    EXPECT_TRUE(store.diagnosticStatusMessagePrivacyTokens().empty());

    world.profiles->setReadFailure(1, ColorProfileError::displayUUIDUnavailable(1));
    store.refreshColorProfile(1);
    EXPECT_EQ(store.statusMessage(), ColorProfileError::displayUUIDUnavailable(1).description());
    store.setColorProfile("calibrated", 1);
    EXPECT_EQ(store.statusMessage(), "먼저 색상 프로파일 정보를 새로고침하세요");
}

}  // namespace
}  // namespace quorvane::testing
