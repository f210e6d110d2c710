#include "presentation/main_window/sidebar_row.hpp"

#include <gtest/gtest.h>

#include <set>

#include "display_store/store_world.hpp"
#include "presentation/main_window/main_window_state.hpp"

namespace quorvane {
namespace {

using testing::StoreWorld;

TEST(SidebarRows, SubtitleCarriesTheConfidenceWordOnlyWithAnIdentity) {
    auto builtin = testing::builtinDisplay(1);
    EXPECT_EQ(displaySidebarSubtitle(builtin, DisplayIdentityConfidence::serialMissing),
              "내장 · 주의");
    EXPECT_EQ(displaySidebarSubtitle(builtin, std::nullopt), "내장");
    auto external = testing::externalDisplay(2, "Studio", 9);
    EXPECT_EQ(displaySidebarSubtitle(external, DisplayIdentityConfidence::ambiguous),
              "외장 · 자동 적용 안 함");
}

TEST(SidebarRows, StoreDisplaysInOrderWithOneMarkAndTheirConfidence) {
    StoreWorld world;
    auto twins = testing::identicalTwins(7, 8);
    world.connect({testing::externalDisplay(3, "Studio", 1234), twins[0], twins[1]});
    auto& store = world.start();
    store.setSelectedDisplayID(8);

    const auto rows = displaySidebarRows(store);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].displayID, 3u);
    EXPECT_EQ(rows[0].row.subtitle, "외장 · 확실");
    EXPECT_EQ(rows[0].row.help, "vendor 4268, model 41003, serial 1234");
    EXPECT_EQ(rows[0].row.systemImage, "display");
    EXPECT_EQ(rows[1].row.subtitle, "외장 · 자동 적용 안 함");
    EXPECT_EQ(rows[2].row.subtitle, "외장 · 자동 적용 안 함");
    EXPECT_FALSE(rows[1].row.isSelected);
    EXPECT_TRUE(rows[2].row.isSelected);
    EXPECT_EQ(rows[2].row.accessibleValue(), "선택됨");
    EXPECT_EQ(rows[0].row.accessibleValue(), "");
}

TEST(SidebarRows, AliasNamesTheRowAndTheWindow) {
    StoreWorld world;
    world.connect({testing::builtinDisplay(1), testing::externalDisplay(2, "Studio", 55)});
    auto& store = world.start();
    store.setDisplayAlias("책상 모니터", 2);
    store.setSelectedDisplayID(2);
    EXPECT_EQ(displaySidebarRows(store)[1].row.title, "책상 모니터");
    EXPECT_EQ(mainWindowTitle(store), "책상 모니터");
    EXPECT_EQ(displaySidebarRows(store)[0].row.systemImage, "macbook");
}

TEST(SidebarRows, WindowWithoutDisplaysIsNamedAfterTheApplication) {
    StoreWorld world;
    world.connect({});
    auto& store = world.start();
    EXPECT_TRUE(displaySidebarRows(store).empty());
    EXPECT_EQ(mainWindowTitle(store), "Quorvane");
}

TEST(SidebarRows, SectionRowReadsTitleAndSubtitleAsOneElement) {
    const auto row = sectionSidebarRow(MainWindowSection::color, MainWindowSection::color);
    EXPECT_EQ(row.accessibleName(), "화면 색감, 밝기·색온도");
    EXPECT_EQ(row.accessibleValue(), "선택됨");
    EXPECT_EQ(row.glyph, "screenColor");
    EXPECT_FALSE(sectionSidebarRow(MainWindowSection::color, MainWindowSection::start).isSelected);
}

TEST(SidebarRows, EverySectionSitsInExactlyOneList) {
    std::multiset<MainWindowSection> listed;
    listed.insert(kFirstSidebarSections.begin(), kFirstSidebarSections.end());
    listed.insert(kFrequentSidebarSections.begin(), kFrequentSidebarSections.end());
    listed.insert(kAdvancedSidebarSections.begin(), kAdvancedSidebarSections.end());
    for (const auto section : kAllMainWindowSections) {
        EXPECT_EQ(listed.count(section), 1u) << caseName(section);
        EXPECT_EQ(parseCaseName(caseName(section), static_cast<MainWindowSection*>(nullptr)),
                  section);
    }
    EXPECT_TRUE(isAdvancedSection(MainWindowSection::resolution));
    EXPECT_FALSE(isAdvancedSection(MainWindowSection::recovery));
}

TEST(MainWindowState, FormChangesAreAnnouncedOnceAndOnlyWhenReal) {
    MainWindowState state;
    int announcements = 0;
    state.sectionsChanged = [&] { ++announcements; };

    state.selectSection(MainWindowSection::start);
    state.setShowsAdvancedSections(false);
    EXPECT_EQ(announcements, 0);

    state.openAdvancedSection(MainWindowSection::hardware);
    EXPECT_EQ(announcements, 1);
    EXPECT_TRUE(state.showsAdvancedSections);
    EXPECT_EQ(state.selectedSection, MainWindowSection::hardware);

    // Collapsing keeps the advanced page on show.
    state.setShowsAdvancedSections(false);
    EXPECT_EQ(state.selectedSection, MainWindowSection::hardware);
    EXPECT_EQ(announcements, 2);
}

}  // namespace
}  // namespace quorvane
