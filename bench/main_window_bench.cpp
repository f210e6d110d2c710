// What users feel of the main window: with 16 displays listed, a store change
// that touches every sidebar row (each display renamed) is redrawn by the
// window's one redraw slot. Only the slot is timed; the store change before
// it is not. Runs Qt on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <memory>
#include <string>

#include "display_store/store_world.hpp"
#include "views/design/theme.hpp"
#include "views/main_window/main_window.hpp"
#include "views/store_bridge.hpp"

namespace quorvane {
namespace {

constexpr int kDisplays = 16;

void BM_MainWindowRedrawWithEveryRowChanged(benchmark::State& state) {
    testing::StoreWorld world;
    world.deferFullRefreshes = false;
    std::vector<DisplaySnapshot> displays;
    for (int i = 1; i <= kDisplays; ++i)
        displays.push_back(testing::externalDisplay(DisplayID(i), "Monitor " + std::to_string(i),
                                                    std::uint32_t(1000 + i), 1920.0 * i));
    world.connect(displays);
    auto& store = world.start();
    StoreBridge bridge(store);
    ShellActions shell;
    Theme theme(false);
    ViewContext context{store, bridge, shell, theme};
    MainWindow window(context);
    window.show();
    QApplication::processEvents();

    int round = 0;
    for (auto _ : state) {
        ++round;
        for (int i = 1; i <= kDisplays; ++i)
            store.setDisplayAlias("책상 " + std::to_string(i) + "-" + std::to_string(round),
                                  DisplayID(i));
        const auto start = std::chrono::steady_clock::now();
        window.redraw();
        const auto elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
        // Layout and paint run between store changes, as in the application.
        QApplication::processEvents();
    }
}
BENCHMARK(BM_MainWindowRedrawWithEveryRowChanged)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvane
