#include <gtest/gtest.h>

#include <QFontInfo>
#include <QSignalSpy>
#include <QWidget>

#include "views/design/chip_button.hpp"
#include "views/design/theme.hpp"
#include "views/support/layout_points_of.hpp"

namespace quorvane {
namespace {

TEST(ThemeTest, OneChangedSignalPerRealChangeAndForcedSchemesIgnoreTheDesktop) {
    Theme theme(false);
    QSignalSpy spy(&theme, &Theme::changed);
    theme.setAppearance(QuorvaneAppearance::light);
    theme.setSystemScheme(ColorScheme::dark);
    EXPECT_EQ(theme.scheme(), ColorScheme::light);
    theme.setAppearance(QuorvaneAppearance::system);
    EXPECT_EQ(theme.scheme(), ColorScheme::dark);
    theme.setAppearance(QuorvaneAppearance::system);  // no change, no signal
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_EQ(spy.count(), 4);
}

TEST(ThemeTest, FontsKeepFractionalScaledSizes) {
    Theme theme(false);
    theme.setTextSize(QuorvaneTextSize::large);
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(theme.font(QuorvaneFontStyle::caption)), 13.44);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(theme.baseFont()), 20.16);
    EXPECT_EQ(theme.accessibleButtonMinHeight(), 46);
}

TEST(ThemeTest, ATextSizeNoRootHasSetReadsLargeAtTheStandardScale) {
    Theme theme(false);
    EXPECT_EQ(theme.textSize(), QuorvaneTextSize::large);
    EXPECT_DOUBLE_EQ(theme.scale(), 1.0);
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(theme.font(QuorvaneFontStyle::body)), 14.0);
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(theme.baseFont()), 14.0);
    // Text is as many pixels tall as the paddings and widths around it are
    // counted in, so a 14-point body is a 14-pixel font.
    EXPECT_EQ(QFontInfo(theme.font(QuorvaneFontStyle::body)).pixelSize(), 14);
    // Tables indexed by the size use their `large` entry; the toolkit's
    // controls keep their own regular size until a root sets one.
    EXPECT_EQ(theme.accessibleButtonMinHeight(), 34);
    EXPECT_EQ(theme.controlSize(), QuorvaneControlSize::regular);

    // A root setting `large` is a real change: the scale and fonts follow.
    QSignalSpy spy(&theme, &Theme::changed);
    theme.setTextSize(QuorvaneTextSize::large);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_DOUBLE_EQ(theme.scale(), 1.12);
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(theme.font(QuorvaneFontStyle::body)), 15.68);
    EXPECT_DOUBLE_EQ(testing::layoutPointsOf(theme.baseFont()), 15.68);
    EXPECT_EQ(theme.controlSize(), QuorvaneControlSize::large);
    theme.setTextSize(QuorvaneTextSize::large);
    EXPECT_EQ(spy.count(), 1);
}

TEST(ThemeTest, WindowsFollowTheSchemeAfterApplying) {
    Theme theme(false);
    theme.setAppearance(QuorvaneAppearance::light);
    QWidget window;
    theme.applyToWindow(&window);
    const QColor light = window.palette().color(QPalette::Window);
    theme.setAppearance(QuorvaneAppearance::dark);
    EXPECT_NE(window.palette().color(QPalette::Window), light);
    EXPECT_LT(window.palette().color(QPalette::Window).lightness(), 100);
}

TEST(ChipButtonTest, GrowsWithTextSizeAndDimsWhenDisabled) {
    Theme theme(false);
    theme.setTextSize(QuorvaneTextSize::standard);
    ChipButton chip(theme, QStringLiteral("적용"), QuorvaneChipProminence::accent);
    TileButton tile(theme, QStringLiteral("따뜻하게"), QuorvaneChipProminence::neutral);
    EXPECT_GE(chip.sizeHint().height(), 30);
    EXPECT_GE(tile.sizeHint().height(), 48);
    theme.setTextSize(QuorvaneTextSize::veryLarge);
    EXPECT_GE(chip.sizeHint().height(), 46);
    EXPECT_GE(tile.sizeHint().height(), 56);
    chip.setEnabled(false);
    EXPECT_EQ(chip.look().text, ColorRole::secondary);
    EXPECT_DOUBLE_EQ(chip.look().opacity, 0.55);
    EXPECT_EQ(tile.sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
}

}  // namespace
}  // namespace quorvane
