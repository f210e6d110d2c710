// What a user feels of the tray panel: the time from the tray click to the
// panel's first paint with four displays (the light re-read included), and
// that a slider drag does no store work until the thumb is released.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSlider>
#include <memory>

#include "display_store/store_world.hpp"
#include "views/design/theme.hpp"
#include "views/panel/menu_panel.hpp"
#include "views/panel/panel_quick_tune_card.hpp"
#include "views/panel/panel_slider_row.hpp"
#include "views/store_bridge.hpp"

namespace quorvane {
namespace {

// A store with four displays, its change signal and the shell's (empty)
// actions: everything the panel is built with.
struct PanelBenchWorld : testing::StoreWorld {
    PanelBenchWorld() {
        deferFullRefreshes = false;
        std::vector<DisplaySnapshot> connected;
        for (DisplayID id = 1; id <= 4; ++id)
            connected.push_back(testing::externalDisplay(id, "Monitor " + std::to_string(id),
                                                         9000 + id, 1920.0 * id));
        connect(connected);
        start();
        bridge = std::make_unique<StoreBridge>(*store);
        context = std::make_unique<ViewContext>(ViewContext{*store, *bridge, shell, theme});
    }

    std::unique_ptr<StoreBridge> bridge;
    ShellActions shell;
    Theme theme{false};
    std::unique_ptr<ViewContext> context;
};

void BM_PanelOpenToFirstPaint(benchmark::State& state) {
    PanelBenchWorld world;
    for (auto _ : state) {
        MenuPanel panel(*world.context);
        panel.resize(390, 650);
        panel.show();
        world.scheduler->runUntilIdle();
        QApplication::processEvents();
        benchmark::DoNotOptimize(panel.grab());
        state.PauseTiming();
        panel.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["displays"] = static_cast<double>(world.store->displays().size());
}
BENCHMARK(BM_PanelOpenToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_PanelSliderDragOf200Moves(benchmark::State& state) {
    PanelBenchWorld world;
    MenuPanel panel(*world.context);
    panel.resize(390, 650);
    panel.show();
    QApplication::processEvents();
    int storeChanges = 0;
    world.store->addChangeObserver([&storeChanges] { ++storeChanges; });
    QSlider* slider = panel.quickTuneCard()->contrastRow()->slider();
    int changesDuringDrags = 0;
    int changesAtRelease = 0;
    for (auto _ : state) {
        slider->setSliderDown(true);
        const int before = storeChanges;
        for (int move = 0; move < 200; ++move)
            slider->setSliderPosition(move % 300);
        changesDuringDrags += storeChanges - before;
        slider->setSliderDown(false);
        changesAtRelease += storeChanges - before;
        QApplication::processEvents();
    }
    // The figures that matter: no store work while the thumb moves, one
    // write per release.
    state.counters["storeChangesDuringDrag"] = changesDuringDrags;
    state.counters["storeChangesPerRelease"] =
        benchmark::Counter(changesAtRelease, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PanelSliderDragOf200Moves)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvane
