#include "presentation/main_window/main_window_state.hpp"

namespace quorvane {

void MainWindowState::selectSection(MainWindowSection section) {
    if (selectedSection == section)
        return;
    selectedSection = section;
    announce();
}

void MainWindowState::setShowsAdvancedSections(bool shown) {
    if (showsAdvancedSections == shown)
        return;
    showsAdvancedSections = shown;
    announce();
}

void MainWindowState::openAdvancedSection(MainWindowSection section) {
    const bool changed = !showsAdvancedSections || selectedSection != section;
    showsAdvancedSections = true;
    selectedSection = section;
    if (changed)
        announce();
}

void MainWindowState::announce() const {
    if (sectionsChanged)
        sectionsChanged();
}

}  // namespace quorvane
