#pragma once

#include <optional>
#include <vector>

#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// The three cards of the "자주 쓰는 설정" band.
enum class QuorvaneFrequentSettingsCard { appearance, behavior, shortcuts };

enum class FrequentSettingsLayout {
    columns,  // appearance over shortcuts on the left, behaviour on the right
    stack,    // all three in one column
};

// A grid of cards: how many columns and how narrow one may get.
struct SettingsCardGrid {
    int columns = 1;
    int minimumColumnWidth = 300;
    int spacing = 16;

    bool operator==(const SettingsCardGrid&) const = default;
};

struct SettingsSheetSize {
    double minimumWidth = 0;
    double minimumHeight = 0;

    bool operator==(const SettingsSheetSize&) const = default;
};

// Every size and arrangement choice of the settings window that depends on
// the text size or on the width it is given.
namespace settings_layout {

// The page's minimum width: 640, 700, 760 or 840.
int minimumWidth(QuorvaneTextSize textSize);

// The masonry needs this much band width for its two columns.
inline constexpr int kFrequentColumnsMinimumWidth = 640;

// Two columns when the band is wide enough, except at the largest text size,
// which always stacks.
FrequentSettingsLayout frequentSettingsLayout(QuorvaneTextSize textSize, int bandWidth);
const std::vector<QuorvaneFrequentSettingsCard>& cards(FrequentSettingsLayout layout, int column);

// The "백업과 도움" grid: two columns (one at veryLarge), each at least 300
// (260 at veryLarge). A band too narrow for two such columns side by side
// gets one, so no card is ever cut off.
SettingsCardGrid backupCardGrid(QuorvaneTextSize textSize, int bandWidth);
// The "되돌리기" grid: always one column.
SettingsCardGrid recoveryCardGrid(QuorvaneTextSize textSize);

// The diagnostic preview sheet: at least 720 wide (or the page's minimum
// when larger); its height follows the screen's usable height, when known.
SettingsSheetSize diagnosticSheetMinimumSize(QuorvaneTextSize textSize,
                                             std::optional<double> screenVisibleHeight);

}  // namespace settings_layout

}  // namespace quorvane
