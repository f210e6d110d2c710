#include "presentation/detail_form/resolution_section.hpp"

namespace quorvane {

ResolutionSection ResolutionSection::make(const DisplaySnapshot& display) {
    ResolutionSection section;
    section.currentMode = display.currentMode ? display.currentMode->label() : "알 수 없음";
    for (const auto& mode : display.modes) {
        if (section.items.size() == kMenuLimit)
            break;
        section.items.push_back({mode.id, mode.label()});
    }
    return section;
}

void ResolutionSection::choose(DisplayStore& store, const DisplaySnapshot& display,
                               const std::string& modeID) {
    for (const auto& mode : display.modes) {
        if (mode.id == modeID) {
            store.setMode(mode, display.id);
            return;
        }
    }
}

}  // namespace quorvane
