#include <QScrollArea>
#include <QVBoxLayout>

#include "app/screenshots/shot_list.hpp"
#include "presentation/main_window/rgb_curve_channel.hpp"
#include "views/controls/native_slider_row.hpp"
#include "views/controls/rgb_curve_coordinate_editor.hpp"
#include "views/main_window/beginner_guidance.hpp"
#include "views/main_window/main_window.hpp"

namespace quorvane {

namespace {

std::unique_ptr<QWidget> mainWindow(ViewContext& context) {
    return std::make_unique<MainWindow>(context);
}

// The editing views the detail form places on its pages, on one column.
std::unique_ptr<QWidget> editors(ViewContext& context) {
    auto page = std::make_unique<QWidget>();
    page->setMinimumWidth(600);
    auto* column = new QVBoxLayout(page.get());
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(10);
    auto& store = context.store;
    const DisplayID display = kShotColourOnlyID;
    store.updateColorAdjustment(display, [](ColorAdjustment& value) {
        value.redGamma = 1.25;
        value.blueGamma = 0.9;
    });
    column->addWidget(new BeginnerCallout(
        context.theme, QStringLiteral("처음에는 앱 색감만 바꿔보세요"),
        QStringLiteral("모니터 자체 설정은 건드리지 않으므로 언제든 되돌릴 수 있습니다.")));
    column->addWidget(new BeginnerStepRow(context.theme, QStringLiteral("1"),
                                          QStringLiteral("화면 색감부터 바꿔보세요"),
                                          QStringLiteral("밝기와 색온도를 앱 안에서만 조정합니다."),
                                          QStringLiteral("화면 색감 열기"), [] {}));
    column->addWidget(new NativeSliderRow(
        context.theme, {"대비", std::string("화면의 밝고 어두운 차이"), 0.2, 2.0, 0.05}, 1.0,
        "1.00", [](double) {}));
    column->addWidget(new NativeDDCSliderRow(context.theme, "밝기", std::nullopt, 0.5, "50%", 0.05,
                                             1.0, [](double) {}));
    column->addWidget(new RGBCurveCoordinateEditor(
        context.theme, [&store, display] { return RGBGammas::of(store.colorAdjustment(display)); },
        [](const RGBCurveEdit&) {}));
    return page;
}

}  // namespace

// The pictures of the main window and the editing views it lends the form.
void addMainWindowShots(ShotList& shots) {
    shots.push_back({"main-window", ShotWorld::mixed, Shot::Frame::mainWindow, {}, mainWindow});
    shots.push_back(
        {"main-window-no-display", ShotWorld::noDisplay, Shot::Frame::mainWindow, {}, mainWindow});
    shots.push_back({"main-window-advanced",
                     ShotWorld::mixed,
                     Shot::Frame::mainWindow,
                     {},
                     [](ViewContext& context) -> std::unique_ptr<QWidget> {
                         auto window = std::make_unique<MainWindow>(context);
                         window->state().openAdvancedSection(MainWindowSection::resolution);
                         return window;
                     }});
    // A desktop without a tray: the header offers the panel.
    shots.push_back({"main-window-no-tray",
                     ShotWorld::mixed,
                     Shot::Frame::mainWindow,
                     {},
                     [](ViewContext& context) -> std::unique_ptr<QWidget> {
                         auto window = std::make_unique<MainWindow>(context);
                         window->offerPanel(true);
                         return window;
                     }});
    shots.push_back({"main-window-editors", ShotWorld::mixed, Shot::Frame::natural, {}, editors});
}

}  // namespace quorvane
