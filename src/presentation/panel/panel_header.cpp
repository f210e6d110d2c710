#include "presentation/panel/panel_header.hpp"

#include "presentation/panel/panel_quick_tuning.hpp"

namespace quorvane {

namespace {

struct TextSizeTexts {
    QuorvaneTextSize size;
    const char* title;
    const char* helpText;
};

constexpr TextSizeTexts kTextSizeTexts[] = {
    {QuorvaneTextSize::standard, "기본", "시스템 기본 크기에 가깝게 표시합니다."},
    {QuorvaneTextSize::large, "크게", "초보자에게 추천하는 조금 큰 글자입니다."},
    {QuorvaneTextSize::extraLarge, "더 크게", "메뉴바와 설정 화면을 더 읽기 쉽게 키웁니다."},
    {QuorvaneTextSize::veryLarge, "아주 크게",
     "버튼과 창도 함께 키우고 긴 문구는 줄바꿈해 가장 크게 보여줍니다."},
};

}  // namespace

PanelHeader panelHeader(const std::optional<DisplaySnapshot>& selected, std::size_t displayCount,
                        const std::map<DisplayID, DDCSnapshot>& ddcSnapshots,
                        const PanelDisplayLabeler& label) {
    if (!selected)
        return {"Quorvane", "빠른 화면 조정", displayCount >= 2};
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
    for (const TextSizeTexts& texts : kTextSizeTexts)
        items.push_back({texts.size, texts.title, texts.helpText, texts.size == current});
    return items;
}

}  // namespace quorvane
