#include "presentation/settings/settings_window_layout.hpp"

#include <algorithm>

namespace quorvane::settings_layout {

namespace {

constexpr int kWideColumnMinimum = 300;
constexpr int kVeryLargeColumnMinimum = 260;
constexpr int kCardGridSpacing = 16;
constexpr int kRecoveryGridSpacing = 12;

constexpr double kSheetMinimumWidth = 720;
constexpr double kSheetMinimumHeight = 520;
// Room the sheet leaves around itself on the screen.
constexpr double kSheetScreenMargin = 120;
constexpr double kSheetHeightShare = 0.82;
// Below this usable height the sheet keeps its smallest height.
constexpr double kSheetSmallScreenHeight = 540;

int columnMinimum(QuorvaneTextSize textSize) {
    return textSize == QuorvaneTextSize::veryLarge ? kVeryLargeColumnMinimum : kWideColumnMinimum;
}

}  // namespace

int minimumWidth(QuorvaneTextSize textSize) {
    switch (textSize) {
        case QuorvaneTextSize::standard:
            return 640;
        case QuorvaneTextSize::large:
            return 700;
        case QuorvaneTextSize::extraLarge:
            return 760;
        case QuorvaneTextSize::veryLarge:
            return 840;
    }
    return 700;
}

FrequentSettingsLayout frequentSettingsLayout(QuorvaneTextSize textSize, int bandWidth) {
    if (textSize == QuorvaneTextSize::veryLarge)
        return FrequentSettingsLayout::stack;
    return bandWidth >= kFrequentColumnsMinimumWidth ? FrequentSettingsLayout::columns
                                                     : FrequentSettingsLayout::stack;
}

const std::vector<QuorvaneFrequentSettingsCard>& cards(FrequentSettingsLayout layout, int column) {
    using Card = QuorvaneFrequentSettingsCard;
    static const std::vector<Card> single{Card::appearance, Card::behavior, Card::shortcuts};
    static const std::vector<Card> left{Card::appearance, Card::shortcuts};
    static const std::vector<Card> right{Card::behavior};
    static const std::vector<Card> none;
    if (layout == FrequentSettingsLayout::stack)
        return column == 0 ? single : none;
    if (column == 0)
        return left;
    return column == 1 ? right : none;
}

SettingsCardGrid backupCardGrid(QuorvaneTextSize textSize, int bandWidth) {
    const int minimum = columnMinimum(textSize);
    SettingsCardGrid grid{1, minimum, kCardGridSpacing};
    if (textSize != QuorvaneTextSize::veryLarge && bandWidth >= 2 * minimum + kCardGridSpacing)
        grid.columns = 2;
    return grid;
}

SettingsCardGrid recoveryCardGrid(QuorvaneTextSize textSize) {
    return {1, columnMinimum(textSize), kRecoveryGridSpacing};
}

SettingsSheetSize diagnosticSheetMinimumSize(QuorvaneTextSize textSize,
                                             std::optional<double> screenVisibleHeight) {
    const double base = minimumWidth(textSize);
    const double usable = screenVisibleHeight.value_or(base) - kSheetScreenMargin;
    double height = kSheetMinimumHeight;
    if (usable >= kSheetSmallScreenHeight)
        height = std::max(std::min(usable, base) * kSheetHeightShare, kSheetMinimumHeight);
    return {std::max(base, kSheetMinimumWidth), height};
}

}  // namespace quorvane::settings_layout
