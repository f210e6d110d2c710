#include <gtest/gtest.h>

#include "presentation/design/button_look.hpp"

namespace quorvane {
namespace {

TEST(ButtonLookTest, PressDeepensColouredFillsButNeverTheNeutralOne) {
    const auto pressed = buttonLook(ButtonShape::chip, QuorvaneChipProminence::destructive,
                                    ColorScheme::dark, true, true);
    const auto released = buttonLook(ButtonShape::chip, QuorvaneChipProminence::destructive,
                                     ColorScheme::dark, false, true);
    EXPECT_DOUBLE_EQ(pressed.fill.opacity, 0.22);
    EXPECT_DOUBLE_EQ(released.fill.opacity, 0.14);
    // The dark washes are the palette's own: the labels' shade reads on them.
    const auto darkFill = [](ButtonShape shape, QuorvaneChipProminence prominence) {
        return buttonLook(shape, prominence, ColorScheme::dark, false, true).fill.opacity;
    };
    EXPECT_DOUBLE_EQ(darkFill(ButtonShape::chip, QuorvaneChipProminence::warning), 0.16);
    EXPECT_DOUBLE_EQ(darkFill(ButtonShape::tile, QuorvaneChipProminence::warning), 0.17);
    EXPECT_DOUBLE_EQ(darkFill(ButtonShape::tile, QuorvaneChipProminence::destructive), 0.15);
    EXPECT_DOUBLE_EQ(buttonLook(ButtonShape::chip, QuorvaneChipProminence::warning,
                                ColorScheme::light, true, true)
                         .fill.opacity,
                     0.19);
    EXPECT_DOUBLE_EQ(buttonLook(ButtonShape::chip, QuorvaneChipProminence::accent,
                                ColorScheme::light, true, true)
                         .fill.opacity,
                     0.90);
    EXPECT_EQ(buttonLook(ButtonShape::tile, QuorvaneChipProminence::neutral, ColorScheme::light,
                         true, true),
              buttonLook(ButtonShape::tile, QuorvaneChipProminence::neutral, ColorScheme::light,
                         false, true));
}

TEST(ButtonLookTest, DisabledKeepsProminenceColoursDimmedWithSecondaryText) {
    const auto look = buttonLook(ButtonShape::chip, QuorvaneChipProminence::accent,
                                 ColorScheme::light, false, false);
    EXPECT_EQ(look.fill.role, ColorRole::accentFill);
    EXPECT_EQ(look.border.role, ColorRole::accent);
    EXPECT_EQ(look.text, ColorRole::secondary);
    EXPECT_DOUBLE_EQ(look.opacity, 0.55);
    EXPECT_EQ(buttonLook(ButtonShape::chip, QuorvaneChipProminence::accent, ColorScheme::light,
                         false, true)
                  .text,
              ColorRole::ink);
}

TEST(ButtonLookTest, ADestructiveRoleColoursTheLabelUntilDisabled) {
    const auto warning = buttonLook(ButtonShape::chip, QuorvaneChipProminence::warning,
                                    ButtonRole::destructive, ColorScheme::light, false, true);
    EXPECT_EQ(warning.text, ColorRole::destructive);
    // Fill and border stay the prominence's.
    EXPECT_EQ(warning.fill.role, ColorRole::warning);
    EXPECT_EQ(warning.border.role, ColorRole::warning);
    const auto disabled = buttonLook(ButtonShape::chip, QuorvaneChipProminence::neutral,
                                     ButtonRole::destructive, ColorScheme::dark, false, false);
    EXPECT_EQ(disabled.text, ColorRole::secondary);
    EXPECT_EQ(buttonLook(ButtonShape::chip, QuorvaneChipProminence::accent, ButtonRole::none,
                         ColorScheme::dark, true, true),
              buttonLook(ButtonShape::chip, QuorvaneChipProminence::accent, ColorScheme::dark, true,
                         true));
}

TEST(ButtonLookTest, ADisabledLinkLosesTheAccent) {
    EXPECT_EQ(linkTextColor(true), (ColorUse{ColorRole::accent, 1.0}));
    const ColorUse disabled = linkTextColor(false);
    EXPECT_EQ(disabled.role, ColorRole::secondary);
    EXPECT_LT(disabled.opacity, 1.0);
}

TEST(ButtonLookTest, TilesUseTheirOwnOpacitiesAndHeightTable) {
    EXPECT_DOUBLE_EQ(buttonLook(ButtonShape::tile, QuorvaneChipProminence::warning,
                                ColorScheme::dark, false, true)
                         .border.opacity,
                     0.48);
    EXPECT_DOUBLE_EQ(buttonLook(ButtonShape::chip, QuorvaneChipProminence::warning,
                                ColorScheme::dark, false, true)
                         .border.opacity,
                     0.46);
    const double chips[] = {30, 34, 40, 46};
    const double tiles[] = {48, 48, 50, 56};
    for (std::size_t i = 0; i < kAllTextSizes.size(); ++i) {
        EXPECT_EQ(buttonMinHeight(ButtonShape::chip, kAllTextSizes[i]), chips[i]);
        EXPECT_EQ(buttonMinHeight(ButtonShape::tile, kAllTextSizes[i]), tiles[i]);
    }
}

}  // namespace
}  // namespace quorvane
