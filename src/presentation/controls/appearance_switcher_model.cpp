#include "presentation/controls/appearance_switcher_model.hpp"

#include "presentation/design/typography.hpp"

#include "models/settings/quorvane_appearance.hpp"
#include "presentation/design/text_size_table.hpp"

namespace quorvane {

std::vector<QuorvaneAppearance> AppearanceSwitcherModel::options(bool includeSystem) {
    if (includeSystem)
        return {QuorvaneAppearance::system, QuorvaneAppearance::light, QuorvaneAppearance::dark};
    return {QuorvaneAppearance::light, QuorvaneAppearance::dark};
}

std::string AppearanceSwitcherModel::title(QuorvaneAppearance option) {
    return std::string(displayName(option));
}

std::string AppearanceSwitcherModel::symbol(QuorvaneAppearance option) {
    switch (option) {
        case QuorvaneAppearance::system:
            return "circle.lefthalf.filled";
        case QuorvaneAppearance::light:
            return "sun.max";
        case QuorvaneAppearance::dark:
            return "moon";
    }
    return {};
}

std::string AppearanceSwitcherModel::helpText(QuorvaneAppearance option) {
    switch (option) {
        case QuorvaneAppearance::system:
            return "시스템의 밝은/어두운 모드 설정을 따릅니다.";
        case QuorvaneAppearance::light:
            return "항상 밝은 화면으로 표시합니다.";
        case QuorvaneAppearance::dark:
            return "항상 어두운 화면으로 표시합니다.";
    }
    return {};
}

std::string AppearanceSwitcherModel::accessibilityLabel(QuorvaneAppearance option) {
    return "화면 모드: " + title(option);
}

std::string AppearanceSwitcherModel::accessibilityValue(bool selected) {
    return selected ? "선택됨" : "";
}

bool AppearanceSwitcherModel::isSelected(QuorvaneAppearance option, QuorvaneAppearance stored,
                                         bool includeSystem, ColorScheme scheme) {
    if (option == stored)
        return true;
    if (includeSystem || stored != QuorvaneAppearance::system)
        return false;
    return option ==
           (scheme == ColorScheme::dark ? QuorvaneAppearance::dark : QuorvaneAppearance::light);
}

bool AppearanceSwitcherModel::showsTitles(bool compact, QuorvaneTextSize size) {
    return !compact || size == QuorvaneTextSize::veryLarge;
}

double AppearanceSwitcherModel::optionMinHeight(Chrome chrome, bool compact,
                                                QuorvaneTextSize size) {
    static constexpr TextSizeTable<double> kToolbar{{28, 30, 36, 42}};
    static constexpr TextSizeTable<double> kPanel{{32, 34, 40, 46}};
    static constexpr double kCompactPanelStandard = 30;
    if (chrome == Chrome::toolbar)
        return kToolbar[size];
    if (compact && size == QuorvaneTextSize::standard)
        return kCompactPanelStandard;
    return kPanel[size];
}

double AppearanceSwitcherModel::toolbarLabelSymbolPoints(QuorvaneTextSize size) {
    return baseFontPoints(size);
}

}  // namespace quorvane
