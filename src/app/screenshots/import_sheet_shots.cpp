#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>

#include "app/screenshots/shot_list.hpp"
#include "models/display/display_identity.hpp"
#include "views/import_sheet/settings_import_preview_sheet.hpp"

namespace quorvane {

namespace {

// This computer's settings as another desk saved them: its own text size
// and appearance (the same whichever this computer shows) and no colour
// values yet.
QuorvanePreferences fromAnotherDesk(QuorvanePreferences preferences) {
    preferences.displayAdjustments.clear();
    preferences.textSize = QuorvaneTextSize::large;
    preferences.appearance = QuorvaneAppearance::system;
    return preferences;
}

// A file from another desk: colour values for every display of the shot's
// world (so they start linked where that is safe) plus one monitor this
// computer never saw.
std::unique_ptr<QWidget> sheetFor(ViewContext& context, bool withAbsentOnly) {
    auto preferences = fromAnotherDesk(context.store.preferences());
    if (!withAbsentOnly) {
        for (const auto& display : context.store.displays()) {
            if (const auto identity = context.store.identity(display.id))
                preferences.displayAdjustments[identity->rawValue].warmth = 0.3;
        }
    }
    preferences.displayAdjustments["display-v4268-m41240-s0-uabsent"].contrast = 1.1;
    preferences.urlPresetAutomationEnabled = true;
    return std::make_unique<SettingsImportPreviewSheet>(
        context, QuorvaneSettingsImportDraft::of(preferences), nullptr);
}

// A file with a display of a very long identity (its values must keep to
// two lines) and one this computer never saw.
std::unique_ptr<QWidget> longIdentitySheet(ViewContext& context) {
    auto preferences = fromAnotherDesk(context.store.preferences());
    preferences
        .displayAdjustments
            ["display-v4268-m41240-s0-uWorkshopCalibratedReferenceMonitorUltraWideRevisionThree"]
        .warmth = 0.4;
    preferences.displayAdjustments["display-v4268-m41240-s0-uabsent"].contrast = 1.1;
    return std::make_unique<SettingsImportPreviewSheet>(
        context, QuorvaneSettingsImportDraft::of(preferences), nullptr);
}

// The one-display file, the connected display named by a long alias: its
// target picker ends the name in an ellipsis.
std::unique_ptr<QWidget> longAliasSheet(ViewContext& context) {
    const auto displays = context.store.displays();
    if (!displays.empty())
        context.store.setDisplayAlias("회의실 B 벽걸이 모니터 (발표용, 왼쪽에서 두 번째 자리)",
                                      displays.front().id);
    return sheetFor(context, false);
}

// The one-display file with the monitor this computer never saw linked to
// the connected display as well: one target on two rows, and its warning.
std::unique_ptr<QWidget> duplicateTargetSheet(ViewContext& context) {
    auto sheet = sheetFor(context, false);
    auto* picker = static_cast<SettingsImportPreviewSheet&>(*sheet).targetPicker(
        "display-v4268-m41240-s0-uabsent");
    if (picker && picker->count() > 1) {
        picker->setCurrentIndex(1);
        emit picker->activated(1);
        // The plan's first cards go now, not at a loop turn the shot never
        // runs before it draws.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return sheet;
}

}  // namespace

// The pictures of the settings import preview sheet: one display, three
// displays of which two are identical twins, one display picked on two rows,
// a display with a long alias,
// a file whose displays are all absent here, and a display of a very long identity, wide and
// narrow; each whole, from the summary to the safety check.
void addImportSheetShots(ShotList& shots) {
    shots.push_back({"import-sheet-one-display",
                     ShotWorld::colourOnly,
                     Shot::Frame::natural,
                     {},
                     [](ViewContext& context) { return sheetFor(context, false); }});
    shots.push_back({"import-sheet-twins", ShotWorld::colourOnly, Shot::Frame::natural,
                     [](ShotHardware& hardware) {
                         auto displays = hardware.displayManager->displays();
                         // Two monitors of one model with one serial: one
                         // identity (names do not tell serial-less ones apart).
                         auto twin = displays.front();
                         twin.id = 404;
                         twin.serialNumber = 777;
                         twin.bounds.x += twin.bounds.width;
                         auto third = twin;
                         third.id = 505;
                         third.bounds.x += twin.bounds.width;
                         displays.push_back(twin);
                         displays.push_back(third);
                         hardware.displayManager->setDisplays(displays);
                         hardware.gamma->setKnownDisplays({displays[0].id, 404, 505});
                     },
                     [](ViewContext& context) { return sheetFor(context, false); }});
    shots.push_back({"import-sheet-duplicate-target",
                     ShotWorld::colourOnly,
                     Shot::Frame::natural,
                     {},
                     duplicateTargetSheet});
    shots.push_back({"import-sheet-all-absent",
                     ShotWorld::colourOnly,
                     Shot::Frame::natural,
                     {},
                     [](ViewContext& context) { return sheetFor(context, true); }});
    shots.push_back({"import-sheet-long-alias",
                     ShotWorld::colourOnly,
                     Shot::Frame::natural,
                     {},
                     longAliasSheet});
    shots.push_back({"import-sheet-long-identity",
                     ShotWorld::colourOnly,
                     Shot::Frame::natural,
                     {},
                     longIdentitySheet});
    shots.push_back({"import-sheet-long-identity-narrow",
                     ShotWorld::colourOnly,
                     Shot::Frame::leastWidth,
                     {},
                     longIdentitySheet});
}

}  // namespace quorvane
