#include "presentation/detail_form/detail_form_page.hpp"

namespace quorvane {

DetailFormLayout DetailFormPage::layout(MainWindowSection section) {
    switch (section) {
        case MainWindowSection::start:
            return DetailFormLayout::startGuide;
        case MainWindowSection::color:
            return DetailFormLayout::colorReference;
        default:
            return DetailFormLayout::groupedForm;
    }
}

std::optional<std::string> DetailFormPage::header(MainWindowSection section) {
    switch (section) {
        case MainWindowSection::profile:
            return "색상 기준";
        case MainWindowSection::hardware:
            return "모니터 자체 설정";
        case MainWindowSection::scenes:
            return "작업 모드";
        case MainWindowSection::groups:
            return "모니터 묶음";
        case MainWindowSection::presets:
            return "내 설정 저장";
        case MainWindowSection::resolution:
            return "해상도";
        case MainWindowSection::diagnostics:
            return "안 되는 이유 찾기";
        case MainWindowSection::start:
        case MainWindowSection::color:
        case MainWindowSection::recovery:
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace quorvane
