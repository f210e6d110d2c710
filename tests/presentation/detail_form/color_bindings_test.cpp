#include <gtest/gtest.h>

#include "display_store/store_world.hpp"
#include "models/color/quorvane_color_temperature.hpp"
#include "presentation/detail_form/color_bindings.hpp"
#include "presentation/detail_form/reference_color_cards.hpp"

namespace quorvane::testing {
namespace {

using Temperature = QuorvaneColorTemperature;

const ColorSliderRow& rowTitled(const std::string& title) {
    for (const auto& card : ReferenceColorCards::cards())
        for (const auto& row : card.rows)
            if (row.title == title)
                return row;
    throw std::logic_error("no row " + title);
}

TEST(ColorTemperatureTextTest, KelvinTextRoundsHalvesAwayFromZeroAndClamps) {
    EXPECT_EQ(Temperature::kelvinText(6449), "6400K");
    EXPECT_EQ(Temperature::kelvinText(6450), "6500K");
    EXPECT_EQ(Temperature::kelvinText(6549.9), "6500K");
    EXPECT_EQ(Temperature::kelvinText(6550), "6600K");
    EXPECT_EQ(Temperature::kelvinText(9400), "9300K");
    EXPECT_EQ(Temperature::kelvinText(2000), "2700K");
}

TEST(ColorTemperatureTextTest, AsymmetricSpansBetweenWarmthAndKelvin) {
    // A symmetric scale would put -0.5 at 4600 K's mirror, 8400 K.
    EXPECT_DOUBLE_EQ(Temperature::kelvin(0.5), 4600);
    EXPECT_DOUBLE_EQ(Temperature::kelvin(-0.5), 7900);
    EXPECT_DOUBLE_EQ(Temperature::kelvin(2), 2700);
    EXPECT_DOUBLE_EQ(Temperature::kelvin(-3), 9300);
    EXPECT_DOUBLE_EQ(Temperature::warmth(7900), -0.5);
    EXPECT_DOUBLE_EQ(Temperature::warmth(4600), 0.5);
    EXPECT_DOUBLE_EQ(Temperature::warmth(1000), 1);
    EXPECT_DOUBLE_EQ(Temperature::warmth(12000), -1);
    for (double k = 2700; k <= 9300; k += 37)
        EXPECT_NEAR(Temperature::kelvin(Temperature::warmth(k)), k, 1e-9) << k;
}

TEST(ColorBindingsTest, TemperatureIsStoredUnroundedAndShownInHundreds) {
    StoreWorld world;
    auto& store = world.start();
    const auto& temperature = rowTitled("색온도");

    temperature.commit(store, 1, 6549);
    // 6549 K stored as is: (6500 - 6549) / 2800, not the warmth of 6500 K.
    EXPECT_DOUBLE_EQ(store.colorAdjustment(1).warmth, -49.0 / 2800);
    EXPECT_NEAR(temperature.value(store.colorAdjustment(1)), 6549, 1e-9);
    EXPECT_EQ(temperature.valueText(store.colorAdjustment(1)), "6500K");
    EXPECT_EQ(temperature.formatted(6550), "6600K");

    temperature.commit(store, 1, 5000);
    EXPECT_DOUBLE_EQ(store.colorAdjustment(1).warmth, 1500.0 / 3800);
}

TEST(ColorBindingsTest, EachWriteIsOneChangeOfOnlyItsFields) {
    StoreWorld world;
    auto& store = world.start();
    store.updateColorAdjustment(1, [](ColorAdjustment& a) {
        a.softwareBrightness = 1.2;
        a.contrast = 0.8;
        a.redGain = 1.4;
        a.blueGamma = 1.7;
        a.warmth = 0.3;
        a.outputFilter = QuorvaneOutputFilter::invert;
    });
    const auto before = store.colorAdjustment(1);
    const auto journalBefore = store.recoveryJournal().entries.size();

    ColorBindings::resetLevels(store, 1);
    auto expected = before;
    expected.softwareBrightness = expected.contrast = expected.gamma = 1;
    EXPECT_EQ(store.colorAdjustment(1), expected);
    EXPECT_EQ(store.recoveryJournal().entries.size(), journalBefore + 1);

    ColorBindings::resetRGBGains(store, 1);
    expected.redGain = 1;
    EXPECT_EQ(store.colorAdjustment(1), expected);

    ColorBindings::resetRGBCurves(store, 1);
    expected.blueGamma = 1;
    EXPECT_EQ(store.colorAdjustment(1), expected);
    // Warmth and filter survive all three resets.
    EXPECT_DOUBLE_EQ(store.colorAdjustment(1).warmth, 0.3);
    EXPECT_EQ(store.colorAdjustment(1).outputFilter, QuorvaneOutputFilter::invert);

    // One undo takes back only the last reset.
    store.undoLastSoftwareAdjustment(1);
    EXPECT_DOUBLE_EQ(store.colorAdjustment(1).blueGamma, 1.7);
    EXPECT_DOUBLE_EQ(store.colorAdjustment(1).redGain, 1);
}

TEST(ColorBindingsTest, ResetOfAnOutOfRangeBrightnessIsConfinedByTheStore) {
    StoreWorld world;
    auto& store = world.start();
    ColorBindings::setField(store, 1, &ColorAdjustment::softwareBrightness, 0.02);
    EXPECT_DOUBLE_EQ(store.colorAdjustment(1).softwareBrightness, 0.1);
    ColorBindings::setOutputFilter(store, 1, QuorvaneOutputFilter::invert);
    EXPECT_DOUBLE_EQ(store.colorAdjustment(1).softwareBrightness, 0.1);
    EXPECT_EQ(store.colorAdjustment(1).outputFilter, QuorvaneOutputFilter::invert);
}

TEST(ColorBindingsTest, ResetButtonsFollowExactEqualityWithNeutral) {
    const auto& cards = ReferenceColorCards::cards();
    const auto& tone = *cards[0].reset;
    const auto& gains = *cards[1].reset;
    const auto& curves = *cards[2].reset;

    ColorAdjustment adjustment;
    EXPECT_TRUE(tone.disabled(adjustment));
    EXPECT_TRUE(gains.disabled(adjustment));
    EXPECT_TRUE(curves.disabled(adjustment));

    // The temperature is not part of the tone reset.
    adjustment.warmth = 0.4;
    EXPECT_TRUE(tone.disabled(adjustment));
    // The slightest difference offers the reset: no tolerance.
    adjustment.gamma = 1.0000000001;
    EXPECT_FALSE(tone.disabled(adjustment));
    adjustment.greenGain = 0.9999999;
    EXPECT_FALSE(gains.disabled(adjustment));
    EXPECT_TRUE(curves.disabled(adjustment));
    adjustment.redGamma = 1.05;
    EXPECT_FALSE(curves.disabled(adjustment));
}

TEST(ColorBindingsTest, WriteToADisconnectedDisplayChangesNothing) {
    StoreWorld world;
    auto& store = world.start();
    const auto before = store.colorAdjustments();
    rowTitled("빨강").commit(store, 99, 1.5);
    EXPECT_EQ(store.colorAdjustments(), before);
    EXPECT_EQ(store.colorAdjustment(99), ColorAdjustment::neutral());
    EXPECT_FALSE(store.statusMessage().empty());
}

TEST(ReferenceColorCardsTest, HoldToCompareIsAbsentWithoutSnapshotAndDisabledUnlessActive) {
    using Mode = QuorvaneEffectRecoveryMode;
    const auto snapshot = [](Mode mode) {
        return std::optional(QuorvaneEffectRecoverySnapshot{"id", mode, false});
    };
    EXPECT_EQ(ReferenceColorCards::holdToCompareEnabled(std::nullopt, true), std::nullopt);
    EXPECT_EQ(ReferenceColorCards::holdToCompareEnabled(snapshot(Mode::active), true), true);
    EXPECT_EQ(ReferenceColorCards::holdToCompareEnabled(snapshot(Mode::active), false), false);
    EXPECT_EQ(ReferenceColorCards::holdToCompareEnabled(snapshot(Mode::suspended), true), false);
    EXPECT_EQ(ReferenceColorCards::holdToCompareEnabled(snapshot(Mode::comparingStock), true),
              false);
}

TEST(ReferenceColorCardsTest, HoldingTheButtonReadsAsDisabledWhileTheComparisonRuns) {
    StoreWorld world;
    auto& store = world.start();
    ColorBindings::setField(store, 1, &ColorAdjustment::redGain, 1.3);
    EXPECT_EQ(ReferenceColorCards::holdToCompareEnabled(store.recoverySnapshot(1), true), true);
    const auto token = store.beginTemporaryNeutralComparison(1);
    ASSERT_TRUE(token);
    EXPECT_EQ(ReferenceColorCards::holdToCompareEnabled(store.recoverySnapshot(1), true), false);
    store.endTemporaryNeutralComparison(token);
    EXPECT_EQ(ReferenceColorCards::holdToCompareEnabled(store.recoverySnapshot(1), true), true);
}

}  // namespace
}  // namespace quorvane::testing
