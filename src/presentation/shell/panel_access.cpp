#include "presentation/shell/panel_access.hpp"

namespace quorvane {

PanelAccess panelAccess(bool trayShowsIcon, bool anyWindowShown) {
    if (trayShowsIcon)
        return {.popupAtTrayIcon = true};
    return {.mainWindowOffersPanel = true,
            .lastWindowEndsProgram = true,
            .opensMainWindow = !anyWindowShown};
}

AfterSurfaceGone afterSurfaceGone(bool trayShowsIcon, bool stillShown, bool goneWasPopup) {
    if (stillShown || !panelAccess(trayShowsIcon, stillShown).lastWindowEndsProgram)
        return AfterSurfaceGone::nothing;
    return goneWasPopup ? AfterSurfaceGone::opensMainWindow : AfterSurfaceGone::endsProgram;
}

}  // namespace quorvane
