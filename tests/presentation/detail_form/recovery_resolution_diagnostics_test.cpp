#include <gtest/gtest.h>

#include <algorithm>

#include "display_store/store_world.hpp"
#include "presentation/detail_form/diagnostics_section.hpp"
#include "presentation/detail_form/recovery_section.hpp"
#include "presentation/detail_form/resolution_section.hpp"

namespace quorvane::testing {
namespace {

std::vector<std::string> titles(const std::vector<RecoveryCard>& cards) {
    std::vector<std::string> out;
    for (const auto& card : cards)
        out.push_back(card.title);
    return out;
}

TEST(RecoverySectionTest, CardsSwapWithTheEffectMode) {
    StoreWorld world;
    auto& store = world.start();
    auto section = RecoverySection::make(store, 1);
    ASSERT_TRUE(section.state);
    EXPECT_EQ(section.state->title, "저장된 효과 적용 가능");
    EXPECT_EQ(titles(section.displayCards),
              (std::vector<std::string>{"이 화면 효과 잠시 끄기", "시스템 기본 색상과 비교",
                                        "마지막 색감 되돌리기"}));
    EXPECT_TRUE(section.displayCards[2].disabled);
    EXPECT_EQ(section.displayCards[2].prominence, QuorvaneChipProminence::neutral);

    store.updateColorAdjustment(1, [](ColorAdjustment& a) { a.contrast = 1.3; });
    section = RecoverySection::make(store, 1);
    EXPECT_FALSE(section.displayCards[2].disabled);
    EXPECT_EQ(section.displayCards[2].prominence, QuorvaneChipProminence::warning);

    store.suspendQuorvaneEffect(1);
    section = RecoverySection::make(store, 1);
    EXPECT_EQ(section.displayCards[0].title, "저장된 효과 다시 켜기");
    EXPECT_TRUE(section.displayCards[1].disabled);
    EXPECT_EQ(section.displayCards[1].help,
              "이미 Quorvane 효과가 꺼져 있습니다. 비교하려면 먼저 저장된 효과를 다시 켜세요.");

    EXPECT_EQ(section.state->tint, ColorRole::systemOrange);

    store.resumeQuorvaneEffect(1);
    store.enterStockComparison(1);
    section = RecoverySection::make(store, 1);
    EXPECT_EQ(section.state->title, "기본 색상과 비교 중");
    EXPECT_EQ(section.state->tint, ColorRole::systemBlue);
    EXPECT_EQ(titles(section.displayCards)[0], "이 화면 효과 잠시 끄기");
    EXPECT_EQ(titles(section.displayCards)[1], "비교 종료");

    // Unknown display: no state, no per-display cards; the rest stays.
    const auto unknown = RecoverySection::make(store, 42);
    EXPECT_FALSE(unknown.state);
    EXPECT_TRUE(unknown.displayCards.empty());
    EXPECT_EQ(unknown.cleanUp.size(), 2u);
}

TEST(RecoverySectionTest, OnlyDeletingSavedColoursCarriesTheDestructiveRole) {
    StoreWorld world;
    auto& store = world.start();
    const auto section = RecoverySection::make(store, 1);
    EXPECT_EQ(section.state->tint, ColorRole::systemGreen);
    ASSERT_EQ(section.cleanUp.size(), 2u);
    EXPECT_EQ(section.cleanUp[0].title, "저장 색상값 삭제");
    EXPECT_EQ(section.cleanUp[0].role, ButtonRole::destructive);
    EXPECT_EQ(section.cleanUp[0].prominence, QuorvaneChipProminence::destructive);
    EXPECT_EQ(section.cleanUp[1].role, ButtonRole::none);
    // The emergency card is destructive in colour only.
    EXPECT_EQ(section.emergency.prominence, QuorvaneChipProminence::destructive);
    EXPECT_EQ(section.emergency.role, ButtonRole::none);
    for (const auto& card : section.displayCards)
        EXPECT_EQ(card.role, ButtonRole::none) << card.title;
}

TEST(RecoverySectionTest, ComparisonHelpWithCorrectionOffAndEmergencyHotKey) {
    EXPECT_EQ(RecoverySection::stockComparisonHelp(false, true),
              "화면 색감 보정이 꺼져 있어 이미 앱 보정 없이 보고 있습니다.");
    StoreWorld world;
    auto& store = world.start();
    const auto section = RecoverySection::make(store, 1);
    EXPECT_EQ(section.emergency.help,
              "모든 연결된 화면을 안전 밝기 50%와 기본 화면 색감으로 되돌립니다. 단축키: " +
                  store.emergencyRecoveryHotKeyCombination().displayLabel());
    EXPECT_NE(section.emergency.help.find("Super+Shift+L"), std::string::npos);
}

TEST(RecoverySectionTest, DeleteSavedColorsActsOnTheDisplayOfTheClick) {
    StoreWorld world;
    world.connect({externalDisplay(1, "Studio", 1001), externalDisplay(2, "Side", 1002, 1920)});
    auto& store = world.start();
    QuorvaneDestructiveConfirmationCoordinator confirmations(*world.scheduler);
    for (DisplayID id : {1u, 2u})
        store.updateColorAdjustment(id, [](ColorAdjustment& a) { a.gamma = 1.4; });

    RecoverySection::run(RecoveryAction::deleteSavedColors, store, confirmations,
                         store.displays()[0]);
    EXPECT_EQ(confirmations.pending()->copy.title, "‘Studio’의 저장 색상값을 삭제할까요?");
    // The emergency press while the dialog is open is dropped.
    RecoverySection::run(RecoveryAction::emergencyRecovery, store, confirmations,
                         store.displays()[1]);
    store.setSelectedDisplayID(2);
    confirmations.confirmPending();
    EXPECT_DOUBLE_EQ(store.colorAdjustment(1).gamma, 1.0);
    EXPECT_DOUBLE_EQ(store.colorAdjustment(2).gamma, 1.4);
}

// Presses the recovery page's card of this title for the display, and
// confirms when the card asks first.
void pressCard(DisplayStore& store, QuorvaneDestructiveConfirmationCoordinator& confirmations,
               DisplayID displayID, const std::string& title) {
    const auto section = RecoverySection::make(store, displayID);
    auto cards = section.displayCards;
    cards.insert(cards.end(), section.cleanUp.begin(), section.cleanUp.end());
    const auto card = std::find_if(cards.begin(), cards.end(), [&title](const RecoveryCard& shown) {
        return shown.title == title;
    });
    ASSERT_NE(card, cards.end()) << title;
    ASSERT_FALSE(card->disabled) << title;
    for (const auto& display : store.displays()) {
        if (display.id == displayID)
            RecoverySection::run(card->action, store, confirmations, display);
    }
    if (confirmations.pending())
        confirmations.confirmPending();
}

class RecoveryCardsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.start();
        store().updateColorAdjustment(1, [](ColorAdjustment& a) { a.warmth = 0.6; });
        saved = store().colorAdjustment(1);
    }
    DisplayStore& store() { return *world.store; }
    void press(const std::string& title) { pressCard(store(), confirmations, 1, title); }

    StoreWorld world;
    QuorvaneDestructiveConfirmationCoordinator confirmations{*world.scheduler};
    ColorAdjustment saved;
};

TEST_F(RecoveryCardsTest, ResumingTheEffectWritesTheSavedColourAgain) {
    press("이 화면 효과 잠시 끄기");
    ASSERT_EQ(world.midRed(1), world.midRed(ColorAdjustment::neutral()));
    press("저장된 효과 다시 켜기");
    EXPECT_EQ(world.midRed(1), world.midRed(saved));
    EXPECT_EQ(store().statusMessage(), "저장된 Quorvane 효과를 다시 켰습니다");
}

TEST_F(RecoveryCardsTest, UndoAfterDeletingTheSavedColourBringsItBackAndClosesThePrompt) {
    press("저장 색상값 삭제");
    ASSERT_FALSE(store().colorAdjustments().contains(rawIdentity(store().displays()[0])));
    ASSERT_TRUE(store().recentChangeRecoveryPrompt().has_value());

    press("마지막 색감 되돌리기");
    EXPECT_EQ(store().colorAdjustment(1), saved);
    EXPECT_EQ(world.midRed(1), world.midRed(saved));
    EXPECT_EQ(world.savedPreferences().displayAdjustments.begin()->second, saved);
    // The prompt would otherwise offer to undo the deletion a second time.
    EXPECT_FALSE(store().recentChangeRecoveryPrompt().has_value());
}

TEST(ResolutionSectionTest, MenuListsTheFirstFortyModesAndChoosingSwitches) {
    StoreWorld world;
    auto& store = world.start();
    auto display = store.displays()[0];
    for (int i = 0; i < 55; ++i) {
        DisplayModeSnapshot mode;
        mode.id = std::to_string(100 + i) + "-1280x720";
        mode.width = 1280;
        mode.height = 720;
        mode.pixelWidth = 1280;
        mode.pixelHeight = 720;
        display.modes.push_back(mode);
    }
    const auto section = ResolutionSection::make(display);
    ASSERT_EQ(section.items.size(), 40u);
    EXPECT_EQ(section.items[0].label, "1920×1080 · 60 Hz");
    // Equal labels stay two items told apart by id.
    EXPECT_EQ(section.items[1].label, section.items[2].label);
    EXPECT_NE(section.items[1].id, section.items[2].id);

    display.currentMode.reset();
    display.modes.clear();
    const auto bare = ResolutionSection::make(display);
    EXPECT_EQ(bare.currentMode, "알 수 없음");
    EXPECT_TRUE(bare.items.empty());
}

TEST(DiagnosticsSectionTest, SupportActionDecisions) {
    StoreWorld world;
    world.connect({externalDisplay(1, "Studio", 1001), builtinDisplay(2)});
    auto controller = std::make_shared<HeldDDCController>();
    auto& store = startWithMonitorLink(world, controller);
    MainWindowState state;
    QuorvaneSupportAction probe{QuorvaneSupportActionKind::probeDDC, "확인", std::nullopt, true,
                                std::nullopt};

    DiagnosticsSection::runSupportAction(probe, store, state, store.displays()[0]);
    DiagnosticsSection::runSupportAction(probe, store, state, store.displays()[0]);
    EXPECT_EQ(controller->probes.size(), 1u);  // the second press found it busy
    DiagnosticsSection::runSupportAction(probe, store, state, store.displays()[1]);
    EXPECT_EQ(controller->probes.size(), 1u);  // built-in: nothing

    auto disabled = probe;
    disabled.kind = QuorvaneSupportActionKind::openHardwareSection;
    disabled.isEnabled = false;
    DiagnosticsSection::runSupportAction(disabled, store, state, store.displays()[0]);
    EXPECT_EQ(state.selectedSection, MainWindowSection::start);

    auto open = disabled;
    open.isEnabled = true;
    DiagnosticsSection::runSupportAction(open, store, state, store.displays()[0]);
    EXPECT_EQ(state.selectedSection, MainWindowSection::hardware);
    EXPECT_TRUE(state.showsAdvancedSections);

    state.setShowsAdvancedSections(false);
    open.kind = QuorvaneSupportActionKind::readOnlyChecklist;
    DiagnosticsSection::runSupportAction(open, store, state, store.displays()[0]);
    EXPECT_EQ(state.selectedSection, MainWindowSection::color);
    EXPECT_FALSE(state.showsAdvancedSections);

    open.kind = QuorvaneSupportActionKind::openSettingsDiagnostics;
    DiagnosticsSection::runSupportAction(open, store, state, store.displays()[0]);
    EXPECT_EQ(state.selectedSection, MainWindowSection::color);
}

}  // namespace
}  // namespace quorvane::testing
