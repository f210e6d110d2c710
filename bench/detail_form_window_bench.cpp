// A redraw of the presets page with 200 user presets (long, multi-line and
// right-to-left names): a store change that leaves the list alone must stay
// well inside one frame (16 ms). Runs Qt on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "display_store/store_world.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/detail_form/display_detail_form.hpp"
#include "views/detail_form/many_presets.hpp"
#include "views/store_bridge.hpp"
#include "views/view_context.hpp"

namespace quorvane {
namespace {

void BM_PresetsPageRedrawWith200Presets(benchmark::State& state) {
    testing::StoreWorld world;
    world.storePreferences(testing::manyAwkwardPresets());
    auto& store = world.start();
    StoreBridge bridge(store);
    ShellActions shell;
    Theme theme(false);
    ViewContext context{store, bridge, shell, theme};
    store.setSelectedDisplayID(1);
    QWidget window;
    MainWindowState windowState;
    windowState.selectedSection = MainWindowSection::presets;
    auto* confirmations = new ConfirmationPresenter(&window);
    auto* form = new DisplayDetailForm(context, windowState, *confirmations, &window);
    window.resize(640, 900);
    form->resize(640, 900);
    window.show();
    QApplication::processEvents();

    int turn = 0;
    for (auto _ : state) {
        store.setStatusMessage(turn++ % 2 ? "저장됨" : "준비됨");
        form->refresh();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_PresetsPageRedrawWith200Presets)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvane
