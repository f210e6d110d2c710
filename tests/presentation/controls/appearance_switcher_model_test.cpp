#include <gtest/gtest.h>

#include "presentation/controls/appearance_switcher_model.hpp"

namespace quorvane {
namespace {

using Model = AppearanceSwitcherModel;

TEST(AppearanceSwitcherModelTest, TwoOptionSwitcherShowsTheSchemeInUseWhileFollowingTheSystem) {
    const auto system = QuorvaneAppearance::system;
    EXPECT_TRUE(Model::isSelected(QuorvaneAppearance::dark, system, false, ColorScheme::dark));
    EXPECT_FALSE(Model::isSelected(QuorvaneAppearance::light, system, false, ColorScheme::dark));
    EXPECT_TRUE(Model::isSelected(QuorvaneAppearance::light, system, false, ColorScheme::light));
    // With "system" offered, only it is selected whatever the desktop does.
    EXPECT_FALSE(Model::isSelected(QuorvaneAppearance::dark, system, true, ColorScheme::dark));
    EXPECT_TRUE(Model::isSelected(system, system, true, ColorScheme::dark));
    // A forced choice is shown as stored, never the desktop's scheme.
    EXPECT_FALSE(Model::isSelected(QuorvaneAppearance::dark, QuorvaneAppearance::light, false,
                                   ColorScheme::dark));
}

TEST(AppearanceSwitcherModelTest, HeightTablesAndCompactTitles) {
    using Chrome = Model::Chrome;
    const double toolbar[] = {28, 30, 36, 42};
    const double panel[] = {32, 34, 40, 46};
    for (std::size_t i = 0; i < kAllTextSizes.size(); ++i) {
        EXPECT_EQ(Model::optionMinHeight(Chrome::toolbar, false, kAllTextSizes[i]), toolbar[i]);
        EXPECT_EQ(Model::optionMinHeight(Chrome::panel, false, kAllTextSizes[i]), panel[i]);
    }
    EXPECT_EQ(Model::optionMinHeight(Chrome::panel, true, QuorvaneTextSize::standard), 30);
    EXPECT_EQ(Model::optionMinHeight(Chrome::panel, true, QuorvaneTextSize::large), 34);
    EXPECT_FALSE(Model::showsTitles(true, QuorvaneTextSize::extraLarge));
    EXPECT_TRUE(Model::showsTitles(true, QuorvaneTextSize::veryLarge));
    EXPECT_TRUE(Model::showsTitles(false, QuorvaneTextSize::standard));
    EXPECT_EQ(Model::accessibilityLabel(QuorvaneAppearance::dark), "화면 모드: 다크");
    EXPECT_EQ(Model::options(false).size(), 2u);
}

}  // namespace
}  // namespace quorvane

#include "presentation/controls/hold_to_compare.hpp"
#include "presentation/controls/recovery_journal_presentation.hpp"
#include "presentation/controls/support_presentation.hpp"

namespace quorvane {
namespace {

// Texts shown on this platform never name the other one.
void expectNoForeignPlatformWords(const std::string& text) {
    for (const char* word : {"macOS", "Mac", "VoiceOver", "ColorSync", "Apple"})
        EXPECT_EQ(text.find(word), std::string::npos) << text;
}

TEST(PlatformWordsTest, ComponentTextsUseThisPlatformsWords) {
    for (auto option : kAllAppearances) {
        expectNoForeignPlatformWords(AppearanceSwitcherModel::helpText(option));
        expectNoForeignPlatformWords(AppearanceSwitcherModel::title(option));
    }
    for (bool comparing : {false, true}) {
        for (bool enabled : {false, true}) {
            const auto texts = holdToCompareTexts(comparing, enabled);
            expectNoForeignPlatformWords(texts.hint);
            expectNoForeignPlatformWords(texts.tooltip);
        }
    }
    for (auto status : kQuorvaneSupportStatusAllCases)
        expectNoForeignPlatformWords(SupportPresentation::statusLook(status).label);
    QuorvaneRecoveryJournal empty;
    expectNoForeignPlatformWords(*RecoveryJournalPresentation::emptyText(empty, false));
}

}  // namespace
}  // namespace quorvane
