#include "presentation/detail_form/diagnostics_section.hpp"

namespace quorvane {

void DiagnosticsSection::runSupportAction(const QuorvaneSupportAction& action, DisplayStore& store,
                                          MainWindowState& state, const DisplaySnapshot& display) {
    if (!action.isEnabled)
        return;
    switch (action.kind) {
        case QuorvaneSupportActionKind::probeDDC:
            // A built-in panel has no monitor link; a busy display would only
            // refuse the second probe.
            if (display.isBuiltin || store.isDDCBusy(display.id))
                return;
            store.probeDDC(display.id);
            return;
        case QuorvaneSupportActionKind::openHardwareSection:
            state.openAdvancedSection(MainWindowSection::hardware);
            return;
        case QuorvaneSupportActionKind::readOnlyChecklist:
            state.selectSection(MainWindowSection::color);
            return;
        case QuorvaneSupportActionKind::openSettingsDiagnostics:
            // The form cannot open the settings window.
            return;
    }
}

}  // namespace quorvane
