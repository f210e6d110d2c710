#include <gtest/gtest.h>

#include "presentation/design/color_role.hpp"
#include "presentation/design/fit_arrangement.hpp"
#include "presentation/design/system_scheme.hpp"

namespace quorvane {
namespace {

TEST(SchemeTest, ForcedAppearanceWinsOverTheDesktop) {
    EXPECT_EQ(effectiveScheme(QuorvaneAppearance::light, ColorScheme::dark), ColorScheme::light);
    EXPECT_EQ(effectiveScheme(QuorvaneAppearance::dark, ColorScheme::light), ColorScheme::dark);
    EXPECT_EQ(effectiveScheme(QuorvaneAppearance::system, ColorScheme::dark), ColorScheme::dark);
}

TEST(SchemeTest, PortalPreferenceBeatsPaletteAndUnknownIsLight) {
    EXPECT_EQ(systemSchemeFrom(1u, 240), ColorScheme::dark);
    EXPECT_EQ(systemSchemeFrom(2u, 20), ColorScheme::light);
    // No preference: the palette decides.
    EXPECT_EQ(systemSchemeFrom(0u, 30), ColorScheme::dark);
    EXPECT_EQ(systemSchemeFrom(std::nullopt, 200), ColorScheme::light);
    EXPECT_EQ(systemSchemeFrom(7u, std::nullopt), ColorScheme::light);
    EXPECT_EQ(systemSchemeFrom(std::nullopt, std::nullopt), ColorScheme::light);
}

TEST(SchemeTest, DarkColumnOnlyForDark) {
    EXPECT_NE(colorValue(ColorRole::surface, ColorScheme::light),
              colorValue(ColorRole::surface, ColorScheme::dark));
    // Accent colours lighten in dark so they stay readable.
    const auto light = colorValue(ColorRole::accent, ColorScheme::light);
    const auto dark = colorValue(ColorRole::accent, ColorScheme::dark);
    EXPECT_GT(dark.red + dark.green + dark.blue, light.red + light.green + light.blue);
}

TEST(FitArrangementTest, RowStaysSideBySideUpToExactlyItsIdealWidth) {
    EXPECT_EQ(chooseArrangement(300, 300), FitArrangement::horizontal);
    EXPECT_EQ(chooseArrangement(300, 301), FitArrangement::horizontal);
    EXPECT_EQ(chooseArrangement(300, 299), FitArrangement::vertical);
}

}  // namespace
}  // namespace quorvane
