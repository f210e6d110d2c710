#include <gtest/gtest.h>

#include "presentation/settings/settings_window_layout.hpp"

namespace quorvane {
namespace {

using Card = QuorvaneFrequentSettingsCard;
using Layout = FrequentSettingsLayout;
using Size = QuorvaneTextSize;
namespace layout = settings_layout;

TEST(SettingsLayoutTest, TheMasonryNeedsSixHundredFortyPointsAndNeverAppearsAtTheLargestSize) {
    for (const auto size : {Size::standard, Size::large, Size::extraLarge}) {
        EXPECT_EQ(layout::frequentSettingsLayout(size, 639), Layout::stack);
        EXPECT_EQ(layout::frequentSettingsLayout(size, 640), Layout::columns);
    }
    EXPECT_EQ(layout::frequentSettingsLayout(Size::veryLarge, 4000), Layout::stack);

    EXPECT_EQ(layout::cards(Layout::columns, 0), (std::vector{Card::appearance, Card::shortcuts}));
    EXPECT_EQ(layout::cards(Layout::columns, 1), std::vector{Card::behavior});
    EXPECT_EQ(layout::cards(Layout::stack, 0),
              (std::vector{Card::appearance, Card::behavior, Card::shortcuts}));
    EXPECT_TRUE(layout::cards(Layout::stack, 1).empty());
}

TEST(SettingsLayoutTest, TheBackupGridKeepsTwoColumnsUpToExtraLargeAndOneAtVeryLarge) {
    EXPECT_EQ(layout::backupCardGrid(Size::extraLarge, 712), (SettingsCardGrid{2, 300, 16}));
    EXPECT_EQ(layout::backupCardGrid(Size::veryLarge, 2000), (SettingsCardGrid{1, 260, 16}));
    EXPECT_EQ(layout::recoveryCardGrid(Size::veryLarge).minimumColumnWidth, 260);
    EXPECT_EQ(layout::recoveryCardGrid(Size::large).minimumColumnWidth, 300);
    // The standard page's content (640 less its margins) cannot hold two
    // 300-point columns; one column keeps both cards whole.
    EXPECT_EQ(layout::backupCardGrid(Size::standard, 592).columns, 1);
    EXPECT_EQ(layout::backupCardGrid(Size::standard, 616).columns, 2);
}

TEST(SettingsLayoutTest, ThePageGrowsWithTheTextSize) {
    EXPECT_EQ(layout::minimumWidth(Size::standard), 640);
    EXPECT_EQ(layout::minimumWidth(Size::veryLarge), 840);
}

TEST(SettingsLayoutTest, TheDiagnosticSheetIsAtLeast720WideAndFollowsTheScreenHeight) {
    const std::vector<double> widths{720, 720, 760, 840};
    const std::vector<double> tallScreen{524.8, 574, 623.2, 688.8};
    for (std::size_t i = 0; i < kAllTextSizes.size(); ++i) {
        const auto tall = layout::diagnosticSheetMinimumSize(kAllTextSizes[i], 1000);
        EXPECT_EQ(tall.minimumWidth, widths[i]);
        EXPECT_NEAR(tall.minimumHeight, tallScreen[i], 1e-9);
        EXPECT_EQ(layout::diagnosticSheetMinimumSize(kAllTextSizes[i], 660).minimumHeight, 520);
    }
    // Without a screen the page width stands in for its height.
    EXPECT_NEAR(layout::diagnosticSheetMinimumSize(Size::veryLarge, std::nullopt).minimumHeight,
                720 * 0.82, 1e-9);
    EXPECT_EQ(layout::diagnosticSheetMinimumSize(Size::standard, std::nullopt).minimumHeight, 520);
}

}  // namespace
}  // namespace quorvane
