#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "models/ddc/ddc_snapshot.hpp"
#include "models/display/display_snapshot.hpp"
#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// The panel's own name: its window's, a screen reader's word for it, and
// its heading's subtitle while no display is connected.
inline constexpr std::string_view kPanelName = "빠른 화면 조정";

// The panel's heading: which display it tunes and what can be tuned there.
struct PanelHeader {
    std::string title;
    std::string subtitle;
    bool showsDisplayPicker = false;  // only when there is another display to pick

    bool operator==(const PanelHeader&) const = default;
};

struct PanelDisplayPickerItem {
    DisplayID id = 0;
    std::string title;
    bool checked = false;

    bool operator==(const PanelDisplayPickerItem&) const = default;
};

struct PanelTextSizeItem {
    QuorvaneTextSize size = QuorvaneTextSize::large;
    std::string title;
    std::string helpText;
    bool checked = false;

    bool operator==(const PanelTextSizeItem&) const = default;
};

using PanelDisplayLabeler = std::function<std::string(const DisplaySnapshot&)>;

// `selected` is the store's selected display (the first one when none is
// chosen); absent only when no display is connected.
PanelHeader panelHeader(const std::optional<DisplaySnapshot>& selected, std::size_t displayCount,
                        const std::map<DisplayID, DDCSnapshot>& ddcSnapshots,
                        const PanelDisplayLabeler& label);

// One item per display in the store's order; the chosen one is ticked.
std::vector<PanelDisplayPickerItem> panelDisplayPickerItems(
    const std::vector<DisplaySnapshot>& displays, std::optional<DisplayID> selectedDisplayID,
    const PanelDisplayLabeler& label);

// Every text size in order; the current one is ticked (choosing it again
// still reaches the store, which reports the size).
std::vector<PanelTextSizeItem> panelTextSizeItems(QuorvaneTextSize current);

}  // namespace quorvane
