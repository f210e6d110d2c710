#include <QWidget>
#include <chrono>

#include "app/screenshots/shot_list.hpp"
#include "presentation/settings/diagnostic_report_actions.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/design/chip_button.hpp"
#include "views/import_sheet/settings_import_preview_sheet.hpp"
#include "views/settings/diagnostic_report_sheet.hpp"
#include "views/settings/settings_action_card.hpp"
#include "views/settings/settings_recovery_card.hpp"
#include "views/settings/settings_window.hpp"

namespace quorvane {

namespace {

// Wide enough for the two-column masonry and the two backup cards.
constexpr int kWideWidth = 1120;
constexpr int kWideHeight = 1600;

std::unique_ptr<QWidget> settingsWindow(ViewContext& context) {
    return std::make_unique<SettingsWindow>(context);
}

}  // namespace

// The pictures of the settings window: at the shell's size (the narrow
// layout), wide, with a hot key the desktop refused, and its two sheets as
// they open.
void addSettingsShots(ShotList& shots) {
    shots.push_back(
        {"settings-window", ShotWorld::mixed, Shot::Frame::settingsWindow, {}, settingsWindow});
    shots.push_back({"settings-window-wide",
                     ShotWorld::mixed,
                     Shot::Frame::natural,
                     {},
                     [](ViewContext& context) -> std::unique_ptr<QWidget> {
                         auto window = std::make_unique<SettingsWindow>(context);
                         window->setMinimumSize(kWideWidth, kWideHeight);
                         return window;
                     }});
    shots.push_back({"settings-window-hot-key-refused", ShotWorld::colourOnly, Shot::Frame::natural,
                     [](ShotHardware& hardware) {
                         hardware.registrar->refuse(HotKeyCombination::defaultEmergencyRecovery(),
                                                    10);
                     },
                     [](ViewContext& context) -> std::unique_ptr<QWidget> {
                         context.store.setSceneHotKeysEnabled(true);
                         auto window = std::make_unique<SettingsWindow>(context);
                         window->setMinimumSize(kWideWidth, kWideHeight);
                         return window;
                     }});
    shots.push_back({"settings-reset-confirmation",
                     ShotWorld::mixed,
                     Shot::Frame::settingsWindow,
                     {},
                     settingsWindow,
                     [](QWidget& shown) -> QWidget* {
                         auto& window = static_cast<SettingsWindow&>(shown);
                         window.recoveryCard()->resetAction()->button()->click();
                         return window.confirmations()->dialog();
                     }});
    shots.push_back({"settings-diagnostic-sheet",
                     ShotWorld::mixed,
                     Shot::Frame::natural,
                     {},
                     [](ViewContext& context) -> std::unique_ptr<QWidget> {
                         SettingsWindowState state;
                         const QuorvaneDiagnosticEnvironment environment{
                             "Quorvane", "0.1.0", "0.1.0", "Debian GNU/Linux 12 · Linux 6.1"};
                         prepareDiagnosticPreview(context.store, state, environment,
                                                  std::chrono::system_clock::now(),
                                                  QuorvaneDiagnosticPrivacyMode::privacyPreserving);
                         return std::make_unique<DiagnosticReportSheet>(context.theme,
                                                                        *state.diagnosticPreview);
                     }});
    shots.push_back({"settings-import-sheet",
                     ShotWorld::mixed,
                     Shot::Frame::natural,
                     {},
                     [](ViewContext& context) -> std::unique_ptr<QWidget> {
                         return std::make_unique<SettingsImportPreviewSheet>(
                             context, QuorvaneSettingsImportDraft::of(context.store.preferences()),
                             nullptr);
                     }});
}

}  // namespace quorvane
