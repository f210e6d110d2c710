#include "presentation/main_window/sidebar_row.hpp"

#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

std::string_view confidenceWord(DisplayIdentityConfidence confidence) {
    switch (confidence) {
        case DisplayIdentityConfidence::reliable:
            return "확실";
        case DisplayIdentityConfidence::serialMissing:
            return "주의";
        case DisplayIdentityConfidence::ambiguous:
            return "자동 적용 안 함";
    }
    return "확실";
}

}  // namespace

std::string SidebarRow::accessibleName() const {
    if (!subtitle)
        return title;
    return title + ", " + *subtitle;
}

std::string SidebarRow::accessibleValue() const {
    return isSelected ? "선택됨" : "";
}

std::string displaySidebarSubtitle(const DisplaySnapshot& display,
                                   std::optional<DisplayIdentityConfidence> confidence) {
    std::string text = display.isBuiltin ? "내장" : "외장";
    if (confidence) {
        text += " · ";
        text += confidenceWord(*confidence);
    }
    return text;
}

std::vector<DisplaySidebarRow> displaySidebarRows(const DisplayStore& store) {
    const auto selectedID = store.selectedDisplayID();
    const auto descriptors = store.identityDescriptors();
    std::vector<DisplaySidebarRow> rows;
    rows.reserve(store.displays().size());
    for (const auto& display : store.displays()) {
        std::optional<DisplayIdentityConfidence> confidence;
        for (const auto& descriptor : descriptors) {
            if (descriptor.displayID == display.id)
                confidence = descriptor.confidence;
        }
        SidebarRow row;
        row.title = store.displayLabel(display);
        row.subtitle = displaySidebarSubtitle(display, confidence);
        row.systemImage = display.isBuiltin ? "macbook" : "display";
        row.help = display.technicalSubtitle();
        row.isSelected = selectedID && *selectedID == display.id;
        rows.push_back({display.id, std::move(row)});
    }
    return rows;
}

SidebarRow sectionSidebarRow(MainWindowSection section, MainWindowSection selected) {
    const auto& info = sectionInfo(section);
    SidebarRow row;
    row.title = info.title;
    row.subtitle = std::string(info.sidebarSubtitle);
    row.systemImage = info.systemImage;
    row.glyph = std::string(info.glyph);
    row.help = info.help;
    row.isSelected = section == selected;
    return row;
}

std::string mainWindowTitle(const DisplayStore& store) {
    const auto selected = store.selectedDisplay();
    if (!selected)
        return "Quorvane";
    return store.displayLabel(*selected);
}

}  // namespace quorvane
