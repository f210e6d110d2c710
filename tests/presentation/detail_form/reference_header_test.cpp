#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "presentation/detail_form/reference_header.hpp"

namespace quorvane::testing {
namespace {

TEST(ReferenceHeaderTest, FollowsAliasCorrectionWarmthAndMode) {
    StoreWorld world;
    auto& store = world.start();
    auto header = ReferenceHeader::make(store, store.displays()[0]);
    EXPECT_EQ(header.title, "Studio 화면 색감");
    EXPECT_EQ(header.metrics[1].value, "6500K");
    EXPECT_EQ(header.metrics[2].value, "1920×1080 · 60 Hz");
    EXPECT_EQ(header.previewDetail, "1920×1080 · 60 Hz");

    store.setDisplayAlias("왼쪽", 1);
    store.updateColorAdjustment(1, [](ColorAdjustment& a) { a.warmth = -0.5; });
    store.setSoftwareColorCorrectionEnabled(false);
    header = ReferenceHeader::make(store, store.displays()[0]);
    EXPECT_EQ(header.title, "왼쪽 화면 색감");
    EXPECT_EQ(header.previewName, "왼쪽");
    EXPECT_EQ(header.metrics[0].value, "꺼짐");
    EXPECT_EQ(header.previewChips[0].value, "꺼짐");
    // The saved warmth still shows with the correction off.
    EXPECT_EQ(header.metrics[1].value, "7900K");
    EXPECT_EQ(header.previewChips[1].value, "7900K");
}

TEST(ReferenceHeaderTest, WithoutACurrentModeShowsCheckingAndTheTechnicalNumbers) {
    StoreWorld world;
    auto& store = world.start();
    auto display = store.displays()[0];
    display.currentMode.reset();
    const auto header = ReferenceHeader::make(store, display);
    EXPECT_EQ(header.metrics[2].value, "확인 중");
    EXPECT_EQ(header.previewDetail, display.technicalSubtitle());
}

}  // namespace
}  // namespace quorvane::testing
