#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "presentation/detail_form/display_overview.hpp"

namespace quorvane::testing {
namespace {

TEST(DisplayOverviewTest, BadgeFollowsHowSurelyTheDisplayIsRecognised) {
    StoreWorld world;
    auto twins = identicalTwins(2, 3);
    world.connect({externalDisplay(1, "Studio", 1001), twins[0], twins[1],
                   externalDisplay(4, "Loner", 0, 3840)});
    auto& store = world.start();

    const auto reliable = DisplayOverview::make(store, store.displays()[0]);
    ASSERT_TRUE(reliable.badge);
    EXPECT_EQ(reliable.badge->title, "확실히 구분됨");
    EXPECT_EQ(reliable.badge->tone, IdentityBadgeTone::green);
    const auto twin = DisplayOverview::make(store, store.displays()[1]);
    EXPECT_EQ(twin.badge->systemImage, "exclamationmark.triangle.fill");
    EXPECT_EQ(twin.reason, std::string(confidenceReason(DisplayIdentityConfidence::ambiguous)));
    const auto loner = DisplayOverview::make(store, store.displays()[3]);
    EXPECT_EQ(loner.badge->title, "고유 번호 없음");

    // A display the store no longer lists: no badge, no reason, the system name.
    auto gone = externalDisplay(9, "Gone", 9);
    gone.currentMode.reset();
    const auto missing = DisplayOverview::make(store, gone);
    EXPECT_FALSE(missing.badge);
    EXPECT_FALSE(missing.reason);
    EXPECT_EQ(missing.title, "Gone");
    EXPECT_EQ(missing.modeLine, "현재 해상도 정보를 읽지 못했습니다.");
}

TEST(AliasEditorTest, SaveTrimsKeepsWhatWasSavedInTheFieldAndRetitlesTheCard) {
    StoreWorld world;
    auto& store = world.start();
    DetailFormDrafts drafts;
    AliasEditor::edit(drafts, 1, "  왼쪽 \n");
    AliasEditor::save(store, drafts, 1);
    EXPECT_EQ(AliasEditor::fieldValue(drafts, 1, store.identityDescriptor(1)), "왼쪽");
    EXPECT_EQ(store.statusMessage(), "모니터 별칭 저장됨: 왼쪽");
    EXPECT_EQ(DisplayOverview::make(store, store.displays()[0]).title, "왼쪽");

    // Saving only spaces removes the alias and empties the field.
    AliasEditor::edit(drafts, 1, "   ");
    AliasEditor::save(store, drafts, 1);
    EXPECT_EQ(AliasEditor::fieldValue(drafts, 1, store.identityDescriptor(1)), "");
    EXPECT_EQ(store.statusMessage(), "모니터 별칭을 지웠습니다: Studio");
    EXPECT_EQ(DisplayOverview::make(store, store.displays()[0]).title, "Studio");
}

TEST(AliasEditorTest, FieldShowsAnEmptyDraftRatherThanTheSavedAlias) {
    StoreWorld world;
    world.connect({externalDisplay(1, "Studio", 1001), externalDisplay(2, "Side", 1002, 1920)});
    auto& store = world.start();
    store.setDisplayAlias("업무", 1);
    DetailFormDrafts drafts;
    EXPECT_EQ(AliasEditor::fieldValue(drafts, 1, store.identityDescriptor(1)), "업무");
    EXPECT_FALSE(AliasEditor::clearDisabled(drafts, 1, store.identityDescriptor(1)));

    AliasEditor::edit(drafts, 1, "");
    EXPECT_EQ(AliasEditor::fieldValue(drafts, 1, store.identityDescriptor(1)), "");
    // A saved alias keeps "지우기" offered although the field is empty.
    EXPECT_FALSE(AliasEditor::clearDisabled(drafts, 1, store.identityDescriptor(1)));
    // The other display has neither: disabled until something is typed.
    EXPECT_TRUE(AliasEditor::clearDisabled(drafts, 2, store.identityDescriptor(2)));
    AliasEditor::edit(drafts, 2, "x");
    EXPECT_FALSE(AliasEditor::clearDisabled(drafts, 2, store.identityDescriptor(2)));
    EXPECT_EQ(AliasEditor::fieldValue(drafts, 1, store.identityDescriptor(1)), "");

    AliasEditor::clear(store, drafts, 2);
    EXPECT_EQ(AliasEditor::fieldValue(drafts, 2, store.identityDescriptor(2)), "");
    EXPECT_EQ(store.statusMessage(), "모니터 별칭을 지웠습니다: Side");
    AliasEditor::clear(store, drafts, 1);
    EXPECT_FALSE(store.identityDescriptor(1)->alias);
}

TEST(AliasEditorTest, SaveForADisconnectedDisplayKeepsTheTrimmedDraft) {
    StoreWorld world;
    auto& store = world.start();
    DetailFormDrafts drafts;
    AliasEditor::edit(drafts, 5, " 오른쪽 ");
    AliasEditor::save(store, drafts, 5);
    EXPECT_EQ(drafts.aliases.at(5), "오른쪽");
    EXPECT_TRUE(store.displayAliasesByKey().empty());
}

}  // namespace
}  // namespace quorvane::testing
