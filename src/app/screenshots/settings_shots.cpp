#include <QToolButton>
#include <QWidget>

#include "app/screenshots/shot_list.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/design/theme_follow.hpp"
#include "views/settings/diagnostic_report_sheet.hpp"
#include "views/settings/settings_disclosure_section.hpp"
#include "views/settings/settings_window.hpp"

namespace quorvane {

namespace {

// Wide enough for the two-column masonry and the two backup cards.
constexpr int kWideWidth = 1120;

std::unique_ptr<QWidget> settingsWindow(ViewContext& context) {
    return std::make_unique<SettingsWindow>(context);
}

std::unique_ptr<QWidget> wideSettingsWindow(ViewContext& context) {
    auto window = std::make_unique<SettingsWindow>(context);
    // After the window's own least width, which it sets again on every
    // theme change.
    followTheme(context.theme, window.get(),
                [shown = window.get()] { shown->setMinimumWidth(kWideWidth); });
    return window;
}

using Open = std::function<QWidget*(SettingsWindow&)>;

// A dialog the settings window opens over itself at the shell's size.
Shot dialogShot(std::string name, Open open) {
    return {std::move(name),
            ShotWorld::mixed,
            Shot::Frame::settingsWindow,
            {},
            settingsWindow,
            [open = std::move(open)](QWidget& shown, ShotScene&) {
                return open(static_cast<SettingsWindow&>(shown));
            }};
}

}  // namespace

// The pictures of the settings window: at the shell's size (the narrow
// layout), wide, with a hot key the desktop refused; its confirmation and
// its diagnostic report sheet as the window opens them.
void addSettingsShots(ShotList& shots) {
    shots.push_back(
        {"settings-window", ShotWorld::mixed, Shot::Frame::settingsWindow, {}, settingsWindow});
    shots.push_back(
        {"settings-window-wide", ShotWorld::mixed, Shot::Frame::natural, {}, wideSettingsWindow});
    shots.push_back({"settings-window-hot-key-refused", ShotWorld::colourOnly, Shot::Frame::natural,
                     [](ShotHardware& hardware) {
                         hardware.registrar->refuse(HotKeyCombination::defaultEmergencyRecovery(),
                                                    10);
                     },
                     [](ViewContext& context) -> std::unique_ptr<QWidget> {
                         context.store.setSceneHotKeysEnabled(true);
                         return wideSettingsWindow(context);
                     }});
    shots.push_back({"settings-window-disclosures-open",
                     ShotWorld::mixed,
                     Shot::Frame::settingsWindow,
                     {},
                     [](ViewContext& context) {
                         // A change or two, so the journal has entries.
                         context.store.applyPreset(DisplayPreset::builtIns().at(1),
                                                   kShotDDCMonitorID);
                         context.store.clearRecentChangeRecoveryPrompt(std::nullopt);
                         return settingsWindow(context);
                     },
                     [](QWidget& shown, ShotScene&) -> QWidget* {
                         for (auto* section : shown.findChildren<SettingsDisclosureSection*>())
                             section->header()->click();
                         return &shown;
                     }});
    shots.push_back(dialogShot("dialog-settings-reset-all", [](SettingsWindow& window) -> QWidget* {
        window.requestFullReset();
        return window.confirmations()->dialog();
    }));
    Shot report =
        dialogShot("dialog-settings-diagnostic-report", [](SettingsWindow& window) -> QWidget* {
            window.prepareDiagnosticPreview(QuorvaneDiagnosticPrivacyMode::privacyPreserving);
            return window.diagnosticSheet();
        });
    report.opensSettingsSnapshot = true;  // the report holds the text size and appearance
    shots.push_back(std::move(report));
}

}  // namespace quorvane
