#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include "app/screenshots/shot_list.hpp"
#include "models/display/display_identity.hpp"
#include "views/import_sheet/settings_import_preview_sheet.hpp"

namespace quorvane {

namespace {

// A file from another desk: colour values for every display of the shot's
// world (so they start linked where that is safe) plus one monitor this
// computer never saw.
std::unique_ptr<QWidget> sheetFor(ViewContext& context, bool withAbsentOnly) {
    auto preferences = context.store.preferences();
    preferences.displayAdjustments.clear();
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

// The same sheet scrolled to its before-and-after section, for a file with a
// display of a very long identity (its values must keep to two lines);
// `narrow` shows the sheet at its least width.
std::unique_ptr<QWidget> comparisonFor(ViewContext& context, bool narrow) {
    auto preferences = context.store.preferences();
    preferences.displayAdjustments.clear();
    preferences
        .displayAdjustments
            ["display-v4268-m41240-s0-uWorkshopCalibratedReferenceMonitorUltraWideRevisionThree"]
        .warmth = 0.4;
    preferences.displayAdjustments["display-v4268-m41240-s0-uabsent"].contrast = 1.1;
    auto sheet = std::make_unique<SettingsImportPreviewSheet>(
        context, QuorvaneSettingsImportDraft::of(preferences), nullptr);
    QWidget* window = sheet.get();
    // After the window is shown and laid out: narrow it, then scroll.
    QTimer::singleShot(0, window, [window, narrow] {
        if (narrow)
            window->resize(window->minimumWidth(), window->height());
        QTimer::singleShot(0, window, [window] {
            auto* scroll = window->findChild<QScrollArea*>();
            auto* section = window->findChild<QWidget*>(QStringLiteral("beforeAfterSection"));
            if (!scroll || !section)
                return;
            scroll->widget()->layout()->activate();
            scroll->verticalScrollBar()->setValue(section->y() - 8);
        });
    });
    return sheet;
}

}  // namespace

// The pictures of the settings import preview sheet: one display, three
// displays of which two are identical twins, a file whose displays are all
// absent here, and the before-and-after section, wide and narrow.
void addImportSheetShots(ShotList& shots) {
    shots.push_back({"import-sheet-one-display",
                     ShotWorld::colourOnly,
                     Shot::Frame::natural,
                     {},
                     [](ViewContext& context) { return sheetFor(context, false); }});
    shots.push_back({"import-sheet-twins", ShotWorld::colourOnly, Shot::Frame::natural,
                     [](ShotHardware& hardware) {
                         auto displays = hardware.displayManager->displays();
                         auto twin = displays.front();
                         twin.id = 404;
                         twin.bounds.x += twin.bounds.width;
                         auto third = twin;
                         third.id = 505;
                         third.serialNumber = 777;
                         third.bounds.x += twin.bounds.width;
                         displays.push_back(twin);
                         displays.push_back(third);
                         hardware.displayManager->setDisplays(displays);
                         hardware.gamma->setKnownDisplays({displays[0].id, 404, 505});
                     },
                     [](ViewContext& context) { return sheetFor(context, false); }});
    shots.push_back({"import-sheet-all-absent",
                     ShotWorld::colourOnly,
                     Shot::Frame::natural,
                     {},
                     [](ViewContext& context) { return sheetFor(context, true); }});
    shots.push_back({"import-sheet-comparison",
                     ShotWorld::colourOnly,
                     Shot::Frame::natural,
                     {},
                     [](ViewContext& context) { return comparisonFor(context, false); }});
    shots.push_back({"import-sheet-comparison-narrow",
                     ShotWorld::colourOnly,
                     Shot::Frame::natural,
                     {},
                     [](ViewContext& context) { return comparisonFor(context, true); }});
}

}  // namespace quorvane
