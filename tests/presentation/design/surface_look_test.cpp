#include <gtest/gtest.h>

#include "presentation/design/surface_look.hpp"

namespace quorvane {
namespace {

TEST(SurfaceLookTest, SoftPanelsFillAt98AndCastASoftShadowOnlyInLight) {
    const SurfaceLook light = surfaceLook(SurfaceKind::soft, ColorScheme::light);
    EXPECT_EQ(light.fill, (ColorUse{ColorRole::surface, 0.98}));
    EXPECT_EQ(light.stroke, (ColorUse{ColorRole::surfaceBorder, 0.72}));
    EXPECT_EQ(light.shadow, (SurfaceShadow{0.08, 12, 5}));
    const SurfaceLook dark = surfaceLook(SurfaceKind::soft, ColorScheme::dark);
    EXPECT_EQ(dark.fill, (ColorUse{ColorRole::surface, 0.98}));
    EXPECT_EQ(dark.stroke, (ColorUse{ColorRole::surfaceBorder, 0.82}));
    EXPECT_EQ(dark.shadow, (SurfaceShadow{0.04, 3, 1}));
}

TEST(SurfaceLookTest, HeroPanelsFillAt99WithTheHeroBorderAndAWiderShadow) {
    const SurfaceLook light = surfaceLook(SurfaceKind::hero, ColorScheme::light);
    EXPECT_EQ(light.fill, (ColorUse{ColorRole::surface, 0.99}));
    EXPECT_EQ(light.stroke, (ColorUse{ColorRole::heroBorder, 0.74}));
    EXPECT_EQ(light.shadow, (SurfaceShadow{0.08, 14, 6}));
    const SurfaceLook dark = surfaceLook(SurfaceKind::hero, ColorScheme::dark);
    EXPECT_EQ(dark.fill, (ColorUse{ColorRole::surface, 0.99}));
    EXPECT_EQ(dark.stroke, (ColorUse{ColorRole::heroBorder, 0.86}));
    EXPECT_EQ(dark.shadow, (SurfaceShadow{0.05, 3, 1}));
}

TEST(SurfaceLookTest, AShadowReachesThreeDeviationsOfHalfItsBlurRadius) {
    EXPECT_EQ((SurfaceShadow{0.08, 12, 5}).reach(), 18);
    EXPECT_EQ((SurfaceShadow{0.08, 14, 6}).reach(), 21);
    EXPECT_EQ((SurfaceShadow{0.04, 3, 1}).reach(), 5);  // 4.5 rounded up
    EXPECT_EQ((SurfaceShadow{}).reach(), 0);
}

TEST(SurfaceLookTest, PlaceholdersAreDimmerThanSecondaryText) {
    EXPECT_EQ(kPlaceholderText.role, ColorRole::primary);
    EXPECT_LT(kPlaceholderText.opacity, 0.5);
}

}  // namespace
}  // namespace quorvane
