#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/color/color_profile_error.hpp"
#include "presentation/detail_form/profile_section.hpp"

namespace quorvane::testing {
namespace {

DisplayColorProfile profile(std::string id, std::string name, bool current, bool factory) {
    DisplayColorProfile made;
    made.id = std::move(id);
    made.name = std::move(name);
    made.isCurrent = made.isDefault = current;
    made.isFactory = factory;
    made.url = "/usr/share/color/icc/" + made.id + ".icc";
    return made;
}

// Display 1 "Studio" uses its factory profile and has a calibrated one;
// display 2 "Side" has a factory and a print profile.
struct ProfileWorld {
    ProfileWorld() {
        world.connect({externalDisplay(1, "Studio", 1001), externalDisplay(2, "Side", 1002, 1920)});
        world.profiles->setProfiles(1, {profile("factory", "Studio Factory", true, true),
                                        profile("calibrated", "Calibrated", false, false)});
        world.profiles->setProfiles(2, {profile("side-factory", "Side Factory", true, true),
                                        profile("print", "Print", false, false)});
        world.start();
    }
    DisplayStore& store() { return *world.store; }
    DisplaySnapshot display(DisplayID id) { return store().displays()[id - 1]; }
    ProfileSection section(DisplayID id) {
        return ProfileSection::make(store(), display(id), drafts);
    }

    StoreWorld world;
    DetailFormDrafts drafts;
    QuorvaneDestructiveConfirmationCoordinator confirmations{*world.scheduler};
};

TEST(ProfileSectionTest, CandidateAndApplyRules) {
    DisplayColorProfileState state;
    state.availability = DisplayColorProfileState::Availability::available;
    state.profiles = {profile("a", "A", true, false), profile("b", "B", false, false)};
    state.currentProfileID = "a";
    DetailFormDrafts drafts;

    EXPECT_EQ(ProfileSection::candidateFor(drafts, 7, state), "a");
    EXPECT_TRUE(ProfileSection::isApplyDisabled("a", state));     // already current
    EXPECT_TRUE(ProfileSection::isApplyDisabled(" a\n", state));  // trimmed before comparing
    EXPECT_FALSE(ProfileSection::isApplyDisabled(" b ", state));
    EXPECT_TRUE(ProfileSection::isApplyDisabled("   ", state));  // blank
    EXPECT_TRUE(ProfileSection::isApplyDisabled("unlisted", state));

    // A draft wins, even an empty one, and only for its own display.
    drafts.profileIDs[7] = "";
    EXPECT_EQ(ProfileSection::candidateFor(drafts, 7, state), "");
    EXPECT_EQ(ProfileSection::candidateFor(drafts, 8, state), "a");

    // No current profile: the recorded id, then nothing.
    state.profiles[0].isCurrent = false;
    state.currentProfileID = "gone";
    EXPECT_EQ(ProfileSection::candidateFor(drafts, 8, state), "gone");
    EXPECT_FALSE(ProfileSection::isApplyDisabled("a", state));
    state.currentProfileID.reset();
    EXPECT_EQ(ProfileSection::candidateFor(drafts, 8, state), "");
    state.profiles.clear();
    EXPECT_TRUE(ProfileSection::isApplyDisabled("a", state));
}

TEST(ProfileSectionTest, SummaryTooltipAndTarget) {
    auto factory = profile("f", "Factory", true, true);
    EXPECT_EQ(ProfileSection::summary(factory),
              "현재 사용 중 · 기본값 · 공장 제공 · 시스템 기본/공장 프로파일 · f.icc");
    auto bare = profile("x", "X", false, false);
    bare.url.reset();
    EXPECT_EQ(ProfileSection::summary(bare), "사용자 지정 프로파일");
    EXPECT_EQ(ProfileSection::fileTooltip(bare),
              "프로파일 파일 위치를 시스템이 제공하지 않았습니다.");
    EXPECT_EQ(ProfileSection::fileTooltip(factory), "프로파일 파일: f.icc");

    DisplayColorProfileState state;
    state.profiles = {factory};
    EXPECT_EQ(ProfileSection::confirmationTarget("f", state, "왼쪽"), "Factory · 왼쪽");
    EXPECT_EQ(ProfileSection::confirmationTarget("zz", state, "왼쪽"), "선택한 프로파일 · 왼쪽");
}

TEST(ProfileSectionTest, PageFollowsTheDraftAndTheCurrentProfile) {
    ProfileWorld w;
    auto page = w.section(1);
    ASSERT_TRUE(page.available);
    ASSERT_TRUE(page.currentProfile);
    EXPECT_EQ(page.currentProfile->name, "Studio Factory");
    EXPECT_EQ(page.currentProfile->badges, "현재 사용 중 · 기본값 · 공장 제공");
    EXPECT_EQ(page.candidate, "factory");
    EXPECT_TRUE(page.applyDisabled);
    EXPECT_TRUE(page.cancelDisabled);
    EXPECT_TRUE(page.restoreDisabled);  // already on the factory profile

    // Picking the current profile stores a draft: cancel is offered, apply is not.
    ProfileSection::pick(w.drafts, 1, "factory");
    page = w.section(1);
    EXPECT_FALSE(page.cancelDisabled);
    EXPECT_TRUE(page.applyDisabled);

    ProfileSection::pick(w.drafts, 1, "calibrated");
    EXPECT_FALSE(w.section(1).applyDisabled);
    // Display 2 never sees display 1's draft.
    EXPECT_EQ(w.section(2).candidate, "side-factory");
    // A store redraw keeps the draft.
    w.store().refresh(DisplayStore::RefreshIntent::passiveViewAppearance);
    EXPECT_EQ(w.section(1).candidate, "calibrated");

    ProfileSection::cancelPick(w.drafts, 1);
    EXPECT_EQ(w.section(1).candidate, "factory");
}

TEST(ProfileSectionTest, RefreshOfTheListDropsTheDraftButTheNoInformationRefreshKeepsIt) {
    ProfileWorld w;
    ProfileSection::pick(w.drafts, 1, "calibrated");
    ProfileSection::refreshWithoutInformation(w.store(), 1);
    EXPECT_EQ(w.drafts.profileIDs.at(1), "calibrated");
    ProfileSection::refresh(w.store(), w.drafts, 1);
    EXPECT_FALSE(w.drafts.profileIDs.contains(1));
    EXPECT_EQ(w.store().statusMessage(), "색상 프로파일 정보를 다시 읽었습니다");
}

TEST(ProfileSectionTest, ApplyActsOnTheDisplayAndCandidateOfTheClick) {
    ProfileWorld w;
    ProfileSection::pick(w.drafts, 1, "calibrated");
    ProfileSection::requestApply(w.store(), w.drafts, w.confirmations, w.display(1));
    ASSERT_TRUE(w.confirmations.pending());
    EXPECT_EQ(w.confirmations.pending()->copy.title,
              "‘Calibrated · Studio’ 프로파일을 적용할까요?");

    // While the dialog is open the user picks another candidate and selects
    // display 2; a second request is dropped.
    ProfileSection::pick(w.drafts, 1, "factory");
    w.store().setSelectedDisplayID(2);
    ProfileSection::pick(w.drafts, 2, "print");
    ProfileSection::requestRestore(w.store(), w.drafts, w.confirmations, w.display(2));
    EXPECT_EQ(w.confirmations.pending()->copy.confirmButtonTitle, "프로파일 적용");

    w.confirmations.confirmPending();
    EXPECT_EQ(w.store().colorProfileState(1)->currentProfileID, "calibrated");
    EXPECT_EQ(w.store().colorProfileState(2)->currentProfileID, "side-factory");
    EXPECT_FALSE(w.drafts.profileIDs.contains(1));
    EXPECT_EQ(w.drafts.profileIDs.at(2), "print");
}

TEST(ProfileSectionTest, CancelledConfirmationKeepsTheDraft) {
    ProfileWorld w;
    ProfileSection::pick(w.drafts, 1, "calibrated");
    ProfileSection::requestApply(w.store(), w.drafts, w.confirmations, w.display(1));
    w.confirmations.setConfirmationPresented(false);
    w.world.scheduler->runUntilIdle();
    EXPECT_FALSE(w.confirmations.pending());
    EXPECT_EQ(w.drafts.profileIDs.at(1), "calibrated");
    EXPECT_EQ(w.world.profiles->writeCount(), 0);
}

TEST(ProfileSectionTest, RestoreIsDestructiveAndDropsTheDraft) {
    ProfileWorld w;
    w.store().setColorProfile("calibrated", 1);
    EXPECT_FALSE(w.section(1).restoreDisabled);
    ProfileSection::pick(w.drafts, 1, "calibrated");
    ProfileSection::requestRestore(w.store(), w.drafts, w.confirmations, w.display(1));
    ASSERT_TRUE(w.confirmations.pending());
    EXPECT_EQ(w.confirmations.pending()->style, QuorvaneDestructiveConfirmationStyle::destructive);
    EXPECT_EQ(w.confirmations.pending()->copy.title, "‘Studio’의 기본/공장 프로파일로 복원할까요?");
    w.confirmations.confirmPending();
    EXPECT_EQ(w.store().colorProfileState(1)->currentProfileID, "factory");
    EXPECT_FALSE(w.drafts.profileIDs.contains(1));
}

TEST(ProfileSectionTest, NoInformationShowsTheStoredReason) {
    ProfileWorld w;
    w.world.profiles->setReadFailure(2, ColorProfileError::displayUUIDUnavailable(2));
    w.store().refreshColorProfile(2);
    const auto page = w.section(2);
    EXPECT_FALSE(page.available);
    EXPECT_EQ(page.unavailableDescription,
              ColorProfileError::displayUUIDUnavailable(2).description());
    EXPECT_TRUE(page.rows.empty());

    DisplaySnapshot unknown = externalDisplay(9, "Nowhere", 9);
    EXPECT_EQ(ProfileSection::make(w.store(), unknown, w.drafts).unavailableDescription,
              ProfileSection::kNoInformationDescription);
}

TEST(ProfileSectionTest, WithoutACurrentProfileTheRowIsAbsentAndRestoreIsOffered) {
    StoreWorld world;
    world.profiles->setProfiles(1,
                                {profile("a", "A", false, false), profile("b", "B", false, true)});
    auto& store = world.start();
    DetailFormDrafts drafts;
    const auto page = ProfileSection::make(store, store.displays()[0], drafts);
    ASSERT_TRUE(page.available);
    EXPECT_FALSE(page.currentProfile);
    EXPECT_FALSE(page.restoreDisabled);
    EXPECT_EQ(page.candidate, "");
    EXPECT_TRUE(page.applyDisabled);
    ASSERT_EQ(page.rows.size(), 2u);
    EXPECT_FALSE(page.rows[0].isCurrent);
}

}  // namespace
}  // namespace quorvane::testing
