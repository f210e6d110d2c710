// What users feel of the display store: one colour change from the slider's
// commit to the tables on the (simulated) screen, with the undo record, the
// preferences written and synced to a real file, the prompt and the journal
// entry; and the passive refresh that every window appearance runs.
// Per-operation times are reported as median and 99th percentile counters.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/linux/display_manager.hpp"
#include "platform/linux/gamma_controller.hpp"
#include "platform/linux/shared_x_connection.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "platform/simulated/simulated_brightness_controller.hpp"
#include "platform/simulated/simulated_color_profile_manager.hpp"
#include "platform/simulated/simulated_display_manager.hpp"
#include "platform/simulated/simulated_gamma_controller.hpp"
#include "platform/simulated/simulated_global_hot_key_registrar.hpp"
#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/background_defaults_writer.hpp"
#include "services/persistence/defaults_store.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"

namespace quorvane {
namespace {

class SilentDDCController final : public DDCControlling {
  public:
    void write(std::uint32_t, DDCVCPCode, std::uint16_t, ResultHandler) override {}
    void availability(std::uint32_t, std::function<void(DDCAvailability)>) override {}
    void probe(std::uint32_t, std::function<void(DDCSnapshot)>) override {}
    void read(std::uint32_t, DDCVCPCode, ResultHandler) override {}
};

DisplaySnapshot monitor(DisplayID id) {
    DisplaySnapshot display;
    display.id = id;
    display.name = "Monitor " + std::to_string(id);
    display.vendorNumber = 4268;
    display.modelNumber = 16000 + id;
    display.serialNumber = 900 + id;
    display.bounds = {1920.0 * (id - 1), 0, 1920, 1080};
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

// A store whose records live in a temporary folder, written as the
// application writes them: temporary file, fsync, rename.
struct StoreRig {
    explicit StoreRig(int displayCount) {
        folder = std::filesystem::temp_directory_path() /
                 ("quorvane-store-bench-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        auto defaults = std::make_shared<FileDefaultsStore>(folder);
        std::vector<DisplaySnapshot> displays;
        std::set<DisplayID> ids;
        for (int index = 1; index <= displayCount; ++index) {
            displays.push_back(monitor(static_cast<DisplayID>(index)));
            ids.insert(static_cast<DisplayID>(index));
            profiles->setProfiles(static_cast<DisplayID>(index), {});
        }
        manager->setDisplays(displays);
        gamma->setKnownDisplays(ids);

        DisplayStoreCollaborators collaborators;
        collaborators.preferencesStore = std::make_shared<UserDefaultsPreferencesStore>(defaults);
        collaborators.ddcCapabilityCacheStore =
            std::make_shared<UserDefaultsDDCCapabilityCacheStore>(defaults);
        collaborators.displayManager = manager;
        collaborators.brightnessController = std::make_shared<SimulatedBrightnessController>();
        collaborators.gammaController = gamma;
        collaborators.ddcController = std::make_shared<SilentDDCController>();
        collaborators.globalHotKeyRegistrar = std::make_shared<SimulatedGlobalHotKeyRegistrar>();
        collaborators.colorProfileManager = profiles;
        collaborators.recoveryJournalStore =
            std::make_shared<UserDefaultsRecoveryJournalStore>(defaults);
        collaborators.scheduler = scheduler;
        store = std::make_unique<DisplayStore>(std::move(collaborators));
        scheduler->runUntilIdle();
    }
    ~StoreRig() {
        store.reset();
        std::filesystem::remove_all(folder);
    }

    std::filesystem::path folder;
    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<SimulatedDisplayManager> manager = std::make_shared<SimulatedDisplayManager>();
    std::shared_ptr<SimulatedGammaController> gamma = std::make_shared<SimulatedGammaController>();
    std::shared_ptr<SimulatedColorProfileManager> profiles =
        std::make_shared<SimulatedColorProfileManager>();
    std::unique_ptr<DisplayStore> store;
};

// Reports the median and the 99th percentile of the samples (microseconds)
// under the two counter names.
void reportPercentiles(benchmark::State& state, std::vector<double> micros,
                       const std::string& median, const std::string& p99) {
    if (micros.empty())
        return;
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double fraction) {
        const auto index =
            static_cast<std::size_t>(fraction * static_cast<double>(micros.size() - 1));
        return micros[index];
    };
    state.counters[median] = at(0.5);
    state.counters[p99] = at(0.99);
}

// Times `operation` once per iteration and reports the median and the 99th
// percentile in microseconds.
template <class Operation>
void measure(benchmark::State& state, Operation operation) {
    std::vector<double> micros;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        operation();
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    reportPercentiles(state, std::move(micros), "median_us", "p99_us");
}

void BM_ColourChangeThroughStore(benchmark::State& state) {
    StoreRig rig(1);
    int step = 0;
    measure(state, [&] {
        rig.store->updateColorAdjustment(
            1, [&](ColorAdjustment& value) { value.warmth = (step++ % 100) / 100.0; });
    });
    if (rig.gamma->writeCount() < static_cast<int>(state.iterations()))
        state.SkipWithError("a colour change did not reach the screen");
}
BENCHMARK(BM_ColourChangeThroughStore)->Iterations(2000)->Unit(benchmark::kMicrosecond);

void BM_PassiveRefreshOfFourDisplays(benchmark::State& state) {
    StoreRig rig(4);
    measure(state, [&] { rig.store->refresh(DisplayStore::RefreshIntent::passiveViewAppearance); });
    if (rig.store->displays().size() != 4)
        state.SkipWithError("the refresh lost displays");
}
BENCHMARK(BM_PassiveRefreshOfFourDisplays)->Iterations(5000)->Unit(benchmark::kMicrosecond);

// The application's road for one colour change: the store over the X
// server's outputs (one kept connection, the real gamma controller) with its
// records written by the background writer to files on disk. "median_us" and
// "p99_us" are the call, which ends with the ramps on the CRTC; "save_p50_us"
// and "save_p99_us" are how long the durable save then takes to be done.
void BM_ColourChangeToTheCrtcWithDurableSave(benchmark::State& state) {
    const char* name = std::getenv("QUORVANE_TEST_DISPLAY");
    if (name == nullptr || *name == '\0') {
        state.SkipWithError("QUORVANE_TEST_DISPLAY is not set");
        return;
    }
    const auto folder = std::filesystem::temp_directory_path() /
                        ("quorvane-crtc-bench-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    auto writer =
        std::make_shared<BackgroundDefaultsWriter>(std::make_shared<FileDefaultsStore>(folder));
    auto connection = std::make_shared<SharedXConnection>(name);
    auto scheduler = std::make_shared<ManualScheduler>();
    auto gamma = std::make_shared<GammaController>(GammaController::kStandardTableSize, connection);
    DisplayStoreCollaborators collaborators;
    collaborators.preferencesStore = std::make_shared<UserDefaultsPreferencesStore>(writer);
    collaborators.ddcCapabilityCacheStore =
        std::make_shared<UserDefaultsDDCCapabilityCacheStore>(writer);
    collaborators.displayManager = std::make_shared<DisplayManager>(connection);
    collaborators.brightnessController = std::make_shared<SimulatedBrightnessController>();
    collaborators.gammaController = gamma;
    collaborators.ddcController = std::make_shared<SilentDDCController>();
    collaborators.globalHotKeyRegistrar = std::make_shared<SimulatedGlobalHotKeyRegistrar>();
    collaborators.colorProfileManager = std::make_shared<SimulatedColorProfileManager>();
    collaborators.recoveryJournalStore = std::make_shared<UserDefaultsRecoveryJournalStore>(writer);
    collaborators.scheduler = scheduler;
    collaborators.deferredSaves = writer;
    auto store = std::make_unique<DisplayStore>(std::move(collaborators));
    scheduler->runUntilIdle();
    if (store->displays().empty()) {
        state.SkipWithError("the X server has no active display");
        return;
    }
    const DisplayID target = store->displays().front().id;
    std::vector<double> calls;
    std::vector<double> saves;
    int step = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        store->updateColorAdjustment(
            target, [&](ColorAdjustment& value) { value.warmth = (step++ % 100) / 100.0; });
        const auto shown = std::chrono::steady_clock::now();
        // Apart from the call: the writer finishing the durable save.
        writer->flushPendingSaves();
        const auto saved = std::chrono::steady_clock::now();
        calls.push_back(std::chrono::duration<double, std::micro>(shown - start).count());
        saves.push_back(std::chrono::duration<double, std::micro>(saved - shown).count());
        // A dismissed prompt keeps the next change's work the same.
        scheduler->advance(seconds(9));
    }
    reportPercentiles(state, std::move(calls), "median_us", "p99_us");
    reportPercentiles(state, std::move(saves), "save_p50_us", "save_p99_us");
    gamma->restoreSystemColorSettings();
    store.reset();
    writer.reset();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ColourChangeToTheCrtcWithDurableSave)->Iterations(1000)->Unit(benchmark::kMicrosecond);

// The preferences record with 9,003 saved adjustments (a preset applied to
// every display ever seen) encoded for saving.
void BM_EncodePreferencesWith9003Adjustments(benchmark::State& state) {
    QuorvanePreferences preferences;
    for (int index = 0; index < 9003; ++index) {
        ColorAdjustment adjustment;
        adjustment.warmth = (index % 100) / 100.0;
        preferences.displayAdjustments["display-" + std::to_string(index * 7919 % 100003)] =
            adjustment;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(preferences.encoded());
    }
}
BENCHMARK(BM_EncodePreferencesWith9003Adjustments)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvane
