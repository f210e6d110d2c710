#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

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

// The simulated profiles, with something else of the same change (a save)
// run just before a profile is chosen.
class ProfilesChosenAfter final : public ColorProfileManaging {
  public:
    ProfilesChosenAfter(std::shared_ptr<ColorProfileManaging> profiles,
                        std::function<void()> beforeChoosing)
        : profiles_(std::move(profiles)), beforeChoosing_(std::move(beforeChoosing)) {}

    DisplayColorProfileState profileState(const DisplaySnapshot& display) override {
        return profiles_->profileState(display);
    }
    void setDefaultProfile(const DisplayColorProfile& profile,
                           const DisplaySnapshot& display) override {
        beforeChoosing_();
        profiles_->setDefaultProfile(profile, display);
    }
    void restoreFactoryProfile(const DisplaySnapshot& display) override {
        profiles_->restoreFactoryProfile(display);
    }

  private:
    std::shared_ptr<ColorProfileManaging> profiles_;
    std::function<void()> beforeChoosing_;
};

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

// A save that fails within the change that names a profile shows its error
// in place of the profile's text; the profile's names and paths stay with
// that text and do not mark the error. The next text that shows takes its
// own tokens again.
TEST(DisplayStoreColorProfileTest, ProfileTokensDoNotAttachToASaveErrorShownInTheirTextsPlace) {
    StoreWorld world;
    world.profiles->setProfiles(1, {profile("factory", "Studio Factory", true),
                                    profile("calibrated", "Calibrated", false)});
    bool saveFirst = true;
    world.profileManager = std::make_shared<ProfilesChosenAfter>(world.profiles, [&] {
        if (saveFirst)
            world.store->setTextSize(QuorvaneTextSize::veryLarge);
    });
    auto& store = world.start();
    world.defaults->setFailsWrites(true);

    store.setColorProfile("calibrated", 1);
    EXPECT_EQ(store.statusMessage(),
              "설정을 저장하지 못했습니다: org.quorvane.Quorvane.preferences.v1");
    EXPECT_TRUE(store.diagnosticStatusMessagePrivacyTokens().empty());
    // Reports still know the path from the profile list.
    EXPECT_TRUE(holds(store.diagnosticPrivacyTokens(), kCalibratedPath));

    saveFirst = false;
    store.setColorProfile("calibrated", 1);
    EXPECT_EQ(store.statusMessage(), "색상 프로파일 적용됨: Calibrated");
    EXPECT_TRUE(holds(store.diagnosticStatusMessagePrivacyTokens(), kCalibratedPath));
}

// Restoring the system's colour output (the recovery page's "색상 보정
// 기본값") puts each output's own tables on the screen and keeps the saved
// colours. A window coming into view writes nothing back; the next read that
// applies saved colours writes them again, although the same colour was on
// the screen before the restore: the start-up's read, and any explicit one.
TEST(DisplayStoreColorProfileTest, RestoredSystemColoursStayUntilAReadAppliesTheSavedOnesAgain) {
    using Intent = DisplayStore::RefreshIntent;
    StoreWorld world;
    auto& store = world.startHoldingBackground();
    store.updateColorAdjustment(1, [](ColorAdjustment& value) { value.warmth = 0.6; });
    const ColorAdjustment warm = store.colorAdjustment(1);
    const std::string identity = rawIdentity(externalDisplay(1, "Studio", 1001));
    ASSERT_EQ(world.midRed(1), world.midRed(warm));

    for (const Intent applying : {Intent::startup, Intent::explicitUserRefresh}) {
        SCOPED_TRACE(std::string(caseName(applying)));
        store.restoreColorSyncSettings();
        EXPECT_EQ(store.statusMessage(),
                  "시스템 화면 출력 색상 보정 기본값으로 복원됨 — 저장값은 유지됨");
        EXPECT_EQ(world.midRed(1), std::nullopt);
        EXPECT_EQ(store.colorAdjustments().at(identity), warm);
        EXPECT_EQ(world.savedPreferences().displayAdjustments.at(identity), warm);

        store.refresh(Intent::passiveViewAppearance);
        EXPECT_EQ(world.midRed(1), std::nullopt);

        if (applying == Intent::explicitUserRefresh)
            store.refresh(applying);
        world.finishBackground();
        EXPECT_EQ(world.midRed(1), world.midRed(warm));
        EXPECT_EQ(store.statusMessage(), applying == Intent::startup
                                             ? "저장된 색상값 자동 적용됨"
                                             : "연결된 디스플레이 색상값 재적용됨");
    }
    EXPECT_EQ(world.gamma->restoreCount(), 2);
}

}  // namespace
}  // namespace quorvane::testing
