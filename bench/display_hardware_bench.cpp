// What users feel of the display layer: a colour change from adjustment to
// tables on the screen, and a display read with modes. The X benchmarks use
// the server in QUORVANE_TEST_DISPLAY (scripts/bench starts one) and are
// skipped without it.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "models/color/transfer_tables.hpp"
#include "platform/linux/display_manager.hpp"
#include "platform/linux/gamma_controller.hpp"
#include "platform/simulated/simulated_brightness_controller.hpp"

namespace quorvane {
namespace {

// The server to measure against; marks the benchmark skipped without one.
std::optional<std::string> benchDisplay(benchmark::State& state) {
    const char* name = std::getenv("QUORVANE_TEST_DISPLAY");
    if (name == nullptr || *name == '\0') {
        state.SkipWithError("QUORVANE_TEST_DISPLAY is not set");
        return std::nullopt;
    }
    return std::string(name);
}

ColorAdjustment warmAdjustment(double step) {
    ColorAdjustment adjustment;
    adjustment.warmth = 0.3 + step;
    adjustment.contrast = 1.1;
    adjustment.gamma = 1.2;
    adjustment.redGamma = 0.9;
    adjustment.blueGain = 0.95;
    return adjustment;
}

void BM_BuildTransferTables(benchmark::State& state) {
    auto adjustment = warmAdjustment(0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(buildTransferTables(adjustment, 256));
    }
}
BENCHMARK(BM_BuildTransferTables);

// Build, resample to the CRTC's ramp, XRRSetCrtcGamma and wait for the
// server's answer, on a connection opened for the write as the controller does.
void BM_ColourChangeWrittenToXServer(benchmark::State& state) {
    auto display = benchDisplay(state);
    if (!display) {
        return;
    }
    GammaController controller(256, *display);
    SimulatedBrightnessController brightness;
    auto displays = DisplayManager(*display).activeDisplays(
        brightness, DisplaySnapshotRequest::lightweight({}));
    if (displays.empty()) {
        state.SkipWithError("the X server has no active display");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        controller.apply(warmAdjustment((step++ % 50) * 0.01), displays.front().id);
    }
    controller.restoreSystemColorSettings();
}
BENCHMARK(BM_ColourChangeWrittenToXServer)->Unit(benchmark::kMicrosecond);

void BM_EnumerateDisplaysWithModes(benchmark::State& state) {
    auto display = benchDisplay(state);
    if (!display) {
        return;
    }
    DisplayManager manager(*display);
    SimulatedBrightnessController brightness;
    std::size_t modes = 0;
    for (auto _ : state) {
        auto displays = manager.activeDisplays(brightness, DisplaySnapshotRequest::full({}));
        modes = 0;
        for (const auto& snapshot : displays) {
            modes += snapshot.modes.size();
        }
        benchmark::DoNotOptimize(modes);
    }
    state.counters["modes"] = static_cast<double>(modes);
}
BENCHMARK(BM_EnumerateDisplaysWithModes)->Unit(benchmark::kMicrosecond);

void BM_EnumerateDisplaysLightweight(benchmark::State& state) {
    auto display = benchDisplay(state);
    if (!display) {
        return;
    }
    DisplayManager manager(*display);
    SimulatedBrightnessController brightness;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            manager.activeDisplays(brightness, DisplaySnapshotRequest::lightweight({})));
    }
}
BENCHMARK(BM_EnumerateDisplaysLightweight)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvane
