#include "presentation/panel/panel_quick_tuning.hpp"

#include <gtest/gtest.h>

#include "presentation/panel/panel_header.hpp"

namespace quorvane {
namespace {

DisplaySnapshot display(DisplayID id, std::optional<double> hardwareBrightness = std::nullopt) {
    DisplaySnapshot snapshot;
    snapshot.id = id;
    snapshot.name = "DELL U2720Q";
    snapshot.hardwareBrightness = hardwareBrightness;
    return snapshot;
}

std::map<DisplayID, DDCSnapshot> monitorReading(DisplayID id, std::uint16_t current,
                                                std::uint16_t maximum,
                                                DDCVCPCode code = DDCVCPCode::brightness) {
    DDCSnapshot snapshot;
    snapshot.displayID = id;
    snapshot.values[code] = {code, current, maximum};
    return {{id, snapshot}};
}

TEST(PanelBrightnessRow, TheSystemBacklightWinsOverAMonitorReading) {
    ColorAdjustment adjustment;
    const auto row = panelBrightnessRow(display(7, 0.375), monitorReading(7, 80, 100), adjustment);
    EXPECT_EQ(row.kind, PanelBrightnessRowKind::systemBrightness);
    EXPECT_EQ(row.row.valueText, "38%");
    EXPECT_EQ(row.row.value, 0.375);
    EXPECT_EQ(row.row.lower, 0.05);
    EXPECT_TRUE(row.row.showsHardwareWriteTag);
    EXPECT_FALSE(row.row.commitsToMonitor);
}

TEST(PanelBrightnessRow, AProbedMonitorBrightnessGivesTheMonitorRow) {
    const auto row = panelBrightnessRow(display(7), monitorReading(7, 30, 100), ColorAdjustment{});
    EXPECT_EQ(row.kind, PanelBrightnessRowKind::monitorBrightness);
    EXPECT_DOUBLE_EQ(row.row.value, 0.30);
    EXPECT_EQ(row.row.valueText, "30%");
    EXPECT_TRUE(row.row.commitsToMonitor);
    EXPECT_EQ(row.row.accessibilityHint(),
              "좌우 방향키 또는 양쪽의 더하기/빼기 버튼으로 밝기을 조정합니다. 변경값은 모니터에 "
              "직접 적용됩니다.");
}

TEST(PanelBrightnessRow, AMonitorWithoutMaximumShowsZeroAndTheBareReading) {
    const auto row = panelBrightnessRow(display(7), monitorReading(7, 42, 0), ColorAdjustment{});
    EXPECT_EQ(row.kind, PanelBrightnessRowKind::monitorBrightness);
    EXPECT_EQ(row.row.value, 0.0);
    EXPECT_EQ(row.row.valueText, "42");
}

TEST(PanelBrightnessRow, OtherwiseTheAppColourRowOfTheSavedAdjustment) {
    ColorAdjustment adjustment;
    adjustment.softwareBrightness = 0.8;
    // Another display's reading, or a reading without brightness, does not count.
    auto readings = monitorReading(8, 30, 100);
    readings.merge(monitorReading(7, 50, 100, DDCVCPCode::contrast));
    const auto row = panelBrightnessRow(display(7), readings, adjustment);
    EXPECT_EQ(row.kind, PanelBrightnessRowKind::appColor);
    EXPECT_EQ(row.row.lower, 0.1);
    EXPECT_EQ(row.row.upper, 1.5);
    EXPECT_EQ(row.row.nudgeStep, 0.05);
    EXPECT_EQ(row.row.valueText, "0.80");
    EXPECT_FALSE(row.row.showsHardwareWriteTag);
    EXPECT_FALSE(panelHasDirectBrightness(display(7), readings));
}

// Page Up/Down: the whole number of steps nearest a tenth of the range, as
// the main window's rows of the same values page.
TEST(PanelSliderRowContent, EachRowPagesByATenthOfItsRangeInWholeSteps) {
    ColorAdjustment adjustment;
    EXPECT_EQ(panelColorTemperatureRow(adjustment).scale().pageAmount(), 700);
    EXPECT_EQ(panelContrastRow(adjustment).scale().pageAmount(), 0.2);
    const auto appColour = panelBrightnessRow(display(7), {}, adjustment).row;
    EXPECT_EQ(appColour.scale().pageAmount(), 0.15);
    EXPECT_EQ(appColour.scale().pageAmount(), SliderScale(0.1, 1.5, 0.05).pageAmount());
    const auto backlight = panelBrightnessRow(display(7, 0.5), {}, adjustment).row;
    EXPECT_EQ(backlight.scale().pageAmount(), 0.1);
    const auto monitor = panelBrightnessRow(display(7), monitorReading(7, 30, 100), adjustment).row;
    EXPECT_EQ(monitor.scale().pageAmount(), 0.1);
    // An arrow step is one nudge step.
    EXPECT_EQ(panelColorTemperatureRow(adjustment).scale().position(6600) -
                  panelColorTemperatureRow(adjustment).scale().position(6500),
              SliderScale::kPositionsPerStep);
}

TEST(PanelBrightnessRow, AQuickListKeepsTheBacklightRowOfTheSameDisplay) {
    const DisplaySnapshot before = display(7, 0.6);
    const DisplaySnapshot quick = display(7);
    const auto held = panelDisplayHoldingBacklight(quick, before, true);
    EXPECT_EQ(held.hardwareBrightness, 0.6);
    EXPECT_EQ(panelBrightnessRow(held, {}, ColorAdjustment{}).kind,
              PanelBrightnessRowKind::systemBrightness);
    // A full list is the truth, another display's value is not carried over,
    // and a fresh value wins over the held one.
    EXPECT_EQ(panelDisplayHoldingBacklight(quick, before, false).hardwareBrightness, std::nullopt);
    EXPECT_EQ(panelDisplayHoldingBacklight(display(8), before, true).hardwareBrightness,
              std::nullopt);
    EXPECT_EQ(panelDisplayHoldingBacklight(display(7, 0.7), before, true).hardwareBrightness, 0.7);
}

TEST(PanelColorTemperature, TheKelvinValueUsesTwoSpansAndIsNotRounded) {
    ColorAdjustment adjustment;
    adjustment.warmth = 0.5;
    EXPECT_DOUBLE_EQ(panelColorTemperatureKelvin(adjustment), 4600);
    adjustment.warmth = -0.5;
    EXPECT_DOUBLE_EQ(panelColorTemperatureKelvin(adjustment), 7900);
    adjustment.warmth = 0.123;
    EXPECT_DOUBLE_EQ(panelColorTemperatureKelvin(adjustment), 6500 - 3800 * 0.123);
    adjustment.warmth = -3;
    EXPECT_DOUBLE_EQ(panelColorTemperatureKelvin(adjustment), 9300);

    EXPECT_NEAR(panelWarmthForKelvin(9000), -0.892857142857, 1e-12);
    EXPECT_DOUBLE_EQ(panelWarmthForKelvin(1000), 1.0);
    EXPECT_DOUBLE_EQ(panelWarmthForKelvin(3450), 3050.0 / 3800);
}

TEST(PanelColorTemperature, TheRowTextRoundsToHundredsHalvesAwayFromZero) {
    ColorAdjustment adjustment;
    adjustment.warmth = 0.5;
    const auto row = panelColorTemperatureRow(adjustment);
    EXPECT_EQ(row.valueText, "4600K");
    EXPECT_EQ(panelFormattedValue(row.format, 6512), "6500K");
    EXPECT_EQ(panelFormattedValue(row.format, 6550), "6600K");
    EXPECT_EQ(panelFormattedValue(row.format, 6549.9), "6500K");
    EXPECT_EQ(panelFormattedValue(row.format, 12000), "9300K");
    EXPECT_EQ(panelFormattedValue(row.format, 100), "2700K");
}

TEST(PanelValueFormat, PercentAndDecimalTexts) {
    EXPECT_EQ(panelFormattedValue(PanelValueFormat::percent, 0.375), "38%");
    EXPECT_EQ(panelFormattedValue(PanelValueFormat::percent, 0.005), "1%");
    EXPECT_EQ(panelFormattedValue(PanelValueFormat::twoDecimals, 1.0), "1.00");
    const ColorAdjustment neutral;
    EXPECT_EQ(panelContrastRow(neutral).accessibilityHint(),
              "좌우 방향키 또는 양쪽의 더하기/빼기 버튼으로 명암을 조정합니다.");
}

TEST(PanelCompareButton, PresentOnlyWithASnapshotAndEnabledOnlyWhileActiveAndOn) {
    EXPECT_EQ(panelCompareButton(std::nullopt, true), (PanelCompareButton{false, false}));
    QuorvaneEffectRecoverySnapshot snapshot;
    EXPECT_EQ(panelCompareButton(snapshot, true), (PanelCompareButton{true, true}));
    EXPECT_EQ(panelCompareButton(snapshot, false), (PanelCompareButton{true, false}));
    snapshot.mode = QuorvaneEffectRecoveryMode::suspended;
    EXPECT_EQ(panelCompareButton(snapshot, true), (PanelCompareButton{true, false}));
}

TEST(PanelHeader, SubtitleFollowsTheModeAndTheDirectBrightnessTest) {
    const auto label = [](const DisplaySnapshot& d) { return "화면 " + std::to_string(d.id); };
    EXPECT_EQ(panelHeader(std::nullopt, 0, {}, label),
              (PanelHeader{"Quorvane", "빠른 화면 조정", false}));

    DisplaySnapshot external = display(7);
    EXPECT_EQ(panelHeader(external, 1, {}, label),
              (PanelHeader{"화면 7", "현재 화면 · 앱 색감 · 색온도 조정", false}));
    DisplayModeSnapshot mode;
    mode.width = 1920;
    mode.height = 1080;
    mode.pixelWidth = 1920;
    mode.pixelHeight = 1080;
    external.currentMode = mode;
    const auto header = panelHeader(external, 2, monitorReading(7, 30, 100), label);
    EXPECT_EQ(header.subtitle, mode.label() + " · 모니터 밝기 · 앱 색감 조정");
    EXPECT_TRUE(header.showsDisplayPicker);
}

TEST(PanelHeader, PickerTicksTheChosenDisplayAndTextSizesTickTheCurrentSize) {
    const auto label = [](const DisplaySnapshot& d) { return d.name; };
    auto second = display(9);
    second.name = "LG";
    const auto items = panelDisplayPickerItems({display(7), second}, 9, label);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0], (PanelDisplayPickerItem{7, "DELL U2720Q", false}));
    EXPECT_EQ(items[1], (PanelDisplayPickerItem{9, "LG", true}));
    // No stored choice: nothing is ticked, even though the first display shows.
    for (const auto& item : panelDisplayPickerItems({display(7), second}, std::nullopt, label))
        EXPECT_FALSE(item.checked);

    const auto sizes = panelTextSizeItems(QuorvaneTextSize::extraLarge);
    ASSERT_EQ(sizes.size(), 4u);
    EXPECT_EQ(sizes[2].title, "더 크게");
    EXPECT_TRUE(sizes[2].checked);
    EXPECT_FALSE(sizes[1].checked);
    EXPECT_EQ(sizes[0].helpText, "시스템 기본 크기에 가깝게 표시합니다.");
}

}  // namespace
}  // namespace quorvane
