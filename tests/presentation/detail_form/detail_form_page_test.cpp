#include <gtest/gtest.h>

#include "presentation/detail_form/detail_form_page.hpp"
#include "presentation/detail_form/reference_layout.hpp"
#include "presentation/detail_form/start_guide.hpp"

namespace quorvane {
namespace {

TEST(DetailFormPageTest, OnlyStartAndColourAreScrollPagesAndRecoveryHasNoHeader) {
    EXPECT_EQ(DetailFormPage::layout(MainWindowSection::start), DetailFormLayout::startGuide);
    EXPECT_EQ(DetailFormPage::layout(MainWindowSection::color), DetailFormLayout::colorReference);
    int grouped = 0;
    for (const auto section : kAllMainWindowSections)
        grouped += DetailFormPage::layout(section) == DetailFormLayout::groupedForm;
    EXPECT_EQ(grouped, 8);

    EXPECT_EQ(DetailFormPage::header(MainWindowSection::profile), "색상 기준");
    EXPECT_EQ(DetailFormPage::header(MainWindowSection::hardware), "모니터 자체 설정");
    EXPECT_EQ(DetailFormPage::header(MainWindowSection::diagnostics), "안 되는 이유 찾기");
    EXPECT_EQ(DetailFormPage::header(MainWindowSection::recovery), std::nullopt);
    EXPECT_EQ(DetailFormPage::header(MainWindowSection::color), std::nullopt);
}

TEST(ReferenceLayoutTest, OnlyVeryLargeChangesColumnsAndWidths) {
    const auto standard = ReferenceLayout::forTextSize(QuorvaneTextSize::standard);
    EXPECT_EQ(ReferenceLayout::forTextSize(QuorvaneTextSize::extraLarge), standard);
    EXPECT_EQ(standard.startGuideColumns, 3);
    EXPECT_EQ(standard.colorCardColumns, 2);
    const auto veryLarge = ReferenceLayout::forTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_EQ(veryLarge.startGuideColumns, 1);
    EXPECT_EQ(veryLarge.statusMetricColumns, 1);
    EXPECT_EQ(veryLarge.colorCardColumns, 1);
    EXPECT_FALSE(veryLarge.previewCardMaximumWidth);
}

TEST(StartGuideTest, StepsOpenTheirSectionsAndAdvancedOpensTheGroupFirst) {
    MainWindowState state;
    std::vector<std::pair<MainWindowSection, bool>> seen;
    state.sectionsChanged = [&] {
        seen.emplace_back(state.selectedSection, state.showsAdvancedSections);
    };
    const auto& steps = StartGuide::steps();
    ASSERT_EQ(steps.size(), 3u);
    StartGuide::openStep(state, steps[1]);
    EXPECT_EQ(state.selectedSection, MainWindowSection::presets);
    EXPECT_FALSE(state.showsAdvancedSections);
    EXPECT_EQ(steps[2].accessibleName(), "3단계, 이상하면 되돌리기");

    StartGuide::openAdvanced(state);
    EXPECT_EQ(state.selectedSection, MainWindowSection::hardware);
    EXPECT_TRUE(state.showsAdvancedSections);
    // One announcement with both already set: the sidebar never shows the
    // hardware page inside a closed group.
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1], std::make_pair(MainWindowSection::hardware, true));
}

}  // namespace
}  // namespace quorvane
