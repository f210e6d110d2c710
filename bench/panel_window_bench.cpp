// What a user feels of the tray panel: the time from the tray click to the
// panel's first paint with four displays (the light re-read included), and
// that a slider drag does no store work until the thumb is released.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSlider>
#include <memory>

#include "platform/simulated/manual_scheduler.hpp"
#include "platform/simulated/simulated_display_manager.hpp"
#include "platform/simulated/simulated_gamma_controller.hpp"
#include "views/design/theme.hpp"
#include "views/panel/menu_panel.hpp"
#include "views/panel/panel_quick_tune_card.hpp"
#include "views/panel/panel_slider_row.hpp"
#include "views/store_bridge.hpp"
#include "views/support/simulated_store.hpp"

namespace quorvane {
namespace {

DisplaySnapshot benchDisplay(DisplayID id) {
    DisplaySnapshot display;
    display.id = id;
    display.name = "Monitor " + std::to_string(id);
    display.vendorNumber = 4268;
    display.modelNumber = 41000 + id;
    display.serialNumber = 9000 + id;
    display.bounds = {1920.0 * id, 0, 1920, 1080};
    DisplayModeSnapshot mode;
    mode.id = "1920x1080@60";
    mode.width = mode.pixelWidth = 1920;
    mode.height = mode.pixelHeight = 1080;
    mode.refreshRate = 60;
    mode.isCurrent = true;
    display.modes = {mode};
    display.currentMode = mode;
    return display;
}

// A store with four displays, its change signal and the shell's (empty)
// actions: everything the panel is built with.
struct PanelBenchWorld {
    PanelBenchWorld() {
        auto collaborators = testing::simulatedCollaborators(scheduler);
        auto displays = std::make_shared<SimulatedDisplayManager>();
        auto gamma = std::make_shared<SimulatedGammaController>();
        std::vector<DisplaySnapshot> connected;
        std::set<DisplayID> ids;
        for (DisplayID id = 1; id <= 4; ++id) {
            connected.push_back(benchDisplay(id));
            ids.insert(id);
        }
        gamma->setKnownDisplays(ids);
        displays->setDisplays(connected);
        collaborators.displayManager = displays;
        collaborators.gammaController = gamma;
        store = std::make_unique<DisplayStore>(std::move(collaborators));
        scheduler->runUntilIdle();
        bridge = std::make_unique<StoreBridge>(*store);
        context = std::make_unique<ViewContext>(ViewContext{*store, *bridge, shell, theme});
    }

    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::unique_ptr<DisplayStore> store;
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
