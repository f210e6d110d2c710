#include "presentation/shell/panel_access.hpp"

namespace quorvane {

PanelAccess panelAccess(bool trayShowsIcon, bool anyWindowShown) {
    if (trayShowsIcon)
        return {.popupAtTrayIcon = true};
    return {.mainWindowOffersPanel = true,
            .lastWindowEndsProgram = true,
            .opensMainWindow = !anyWindowShown};
}

}  // namespace quorvane
