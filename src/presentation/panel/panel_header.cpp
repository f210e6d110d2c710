#include "presentation/panel/panel_header.hpp"

#include "presentation/panel/panel_quick_tuning.hpp"
#include "presentation/settings/appearance_card_texts.hpp"

namespace quorvane {

PanelHeader panelHeader(const std::optional<DisplaySnapshot>& selected, std::size_t displayCount,
                        const std::map<DisplayID, DDCSnapshot>& ddcSnapshots,
                        const PanelDisplayLabeler& label) {
    if (!selected)
        return {"Quorvane", std::string(kPanelName), displayCount >= 2};
    const std::string mode = selected->currentMode ? selected->currentMode->label() : "현재 화면";
    const std::string capability = panelHasDirectBrightness(*selected, ddcSnapshots)
                                       ? "모니터 밝기 · 앱 색감 조정"
                                       : "앱 색감 · 색온도 조정";
    return {label(*selected), mode + " · " + capability, displayCount >= 2};
}

std::vector<PanelDisplayPickerItem> panelDisplayPickerItems(
    const std::vector<DisplaySnapshot>& displays, std::optional<DisplayID> selectedDisplayID,
    const PanelDisplayLabeler& label) {
    std::vector<PanelDisplayPickerItem> items;
    for (const DisplaySnapshot& display : displays)
        items.push_back({display.id, label(display), selectedDisplayID == display.id});
    return items;
}

std::vector<PanelTextSizeItem> panelTextSizeItems(QuorvaneTextSize current) {
    std::vector<PanelTextSizeItem> items;
    for (const QuorvaneTextSize size : kAllTextSizes)
        items.push_back({size, std::string(displayName(size)), std::string(textSizeDetail(size)),
                         size == current});
    return items;
}

}  // namespace quorvane
