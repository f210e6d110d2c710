#include "presentation/main_window/slider_spoken_value.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(SliderSpokenValue, APercentageRowSpeaksWholePercentsOfItsRange) {
    // The system brightness row: 0.6 within 0.05…1 shows "60%".
    EXPECT_EQ(SliderSpokenValue::of(PanelValueFormat::percent, 0.6, 0.05, 1.0, 0.01),
              (SliderSpokenValue{60, 5, 100, 1, 100}));
    // The readout rounds halves up ("38%"); the spoken number is the same.
    EXPECT_EQ(SliderSpokenValue::of(PanelValueFormat::percent, 0.375, 0.0, 1.0, 0.01).current, 38);
}

TEST(SliderSpokenValue, AKelvinRowSpeaksTheHundredsItShows) {
    const auto spoken =
        SliderSpokenValue::of(PanelValueFormat::kelvinHundreds, 6512, 2700, 9300, 100);
    EXPECT_EQ(spoken, (SliderSpokenValue{6500, 2700, 9300, 100, 1}));
}

TEST(SliderSpokenValue, ADecimalRowSpeaksTwoDecimalsWithinItsOwnRange) {
    EXPECT_EQ(SliderSpokenValue::of(PanelValueFormat::twoDecimals, 1.0, 0.1, 1.5, 0.05),
              (SliderSpokenValue{1.0, 0.1, 1.5, 0.05, 1}));
    EXPECT_DOUBLE_EQ(
        SliderSpokenValue::of(PanelValueFormat::twoDecimals, 1.374, 0.2, 2.0, 0.05).current, 1.37);
}

TEST(SliderSpokenValue, TheNumberTheRowShowsIsTheNumberSpoken) {
    // At rest the row shows its owner's text; that number is spoken, so the
    // text and the number never disagree.
    EXPECT_EQ(SliderSpokenValue::of(PanelValueFormat::percent, 0.6, 0.05, 1.0, 0.01, "61%").current,
              61);
    EXPECT_EQ(
        SliderSpokenValue::of(PanelValueFormat::kelvinHundreds, 6512, 2700, 9300, 100, "6500K")
            .current,
        6500);
    // A text without a number (a dash while nothing was read) falls back to
    // the value as the row would write it.
    EXPECT_EQ(SliderSpokenValue::of(PanelValueFormat::percent, 0.6, 0.05, 1.0, 0.01, "—").current,
              60);
}

TEST(SliderSpokenValue, AValueWithoutANumberSpeaksTheLowerEnd) {
    EXPECT_EQ(SliderSpokenValue::of(PanelValueFormat::percent, kNaN, 0.05, 1.0, 0.01).current, 5);
    EXPECT_EQ(SliderSpokenValue::of(PanelValueFormat::twoDecimals, kNaN, 0.2, 2.0, 0.05).current,
              0.2);
}

TEST(SliderSpokenValue, ASpokenValueBecomesARowValueInsideTheRange) {
    const auto percent = SliderSpokenValue::of(PanelValueFormat::percent, 0.6, 0.05, 1.0, 0.01);
    EXPECT_EQ(percent.rowValue(73), 0.73);  // exactly, not 0.7300000000000001
    EXPECT_EQ(percent.rowValue(250), 1.0);
    EXPECT_EQ(percent.rowValue(1), 0.05);
    EXPECT_EQ(percent.rowValue(kNaN), 0.05);
    const auto kelvin =
        SliderSpokenValue::of(PanelValueFormat::kelvinHundreds, 6500, 2700, 9300, 100);
    EXPECT_EQ(kelvin.rowValue(7200), 7200);
    EXPECT_EQ(kelvin.rowValue(1000), 2700);
}

}  // namespace
}  // namespace quorvane
