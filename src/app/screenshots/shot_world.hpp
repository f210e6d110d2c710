#pragma once

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/simulated/in_memory_defaults_store.hpp"
#include "platform/simulated/simulated_brightness_controller.hpp"
#include "platform/simulated/simulated_color_profile_manager.hpp"
#include "platform/simulated/simulated_ddc_bus_locator.hpp"
#include "platform/simulated/simulated_ddc_monitor.hpp"
#include "platform/simulated/simulated_display_manager.hpp"
#include "platform/simulated/simulated_gamma_controller.hpp"
#include "platform/simulated/simulated_global_hot_key_registrar.hpp"
#include "platform/simulated/simulated_i2c_buses.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

// The displays a screenshot's store starts with.
enum class ShotWorld {
    // The private dummy X server as it is: three external outputs with real
    // gamma ramps and modes, no backlight, no monitor answering DDC.
    dummyServer,
    // Simulated: a laptop's built-in panel with a backlight (60 %).
    builtinPanel,
    // Simulated: one external monitor that answers DDC/CI.
    ddcMonitor,
    // Simulated: one external display with software colour only (no
    // backlight, nothing answers on its bus).
    colourOnly,
    // Simulated: no active display.
    noDisplay,
    // Simulated: the built-in panel, the DDC monitor and the colour-only
    // display together.
    mixed,
};

// Display IDs of the simulated worlds.
inline constexpr DisplayID kShotBuiltinID = 101;
inline constexpr DisplayID kShotDDCMonitorID = 202;
inline constexpr DisplayID kShotColourOnlyID = 303;

// Holds the simulated monitor's DDC/CI traffic while closed: the bus pause
// of a transfer waits until the gate opens, so a write stays in flight for
// as long as a picture needs it. Open unless a shot holds it.
class ShotMonitorGate {
  public:
    void hold();
    void release();
    // Returns at once while open; otherwise waits for release().
    void pass();

  private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool held_ = false;
};

// A shot's scheduler: posts and background work go to the program's
// scheduler on the Qt event loop, but a delayed task never falls due: the
// shot's time does not pass while it is drawn. A picture then shows the same
// state however long the machine takes to draw it (a live theme switch of a
// large window can take seconds), never a timer that fired meanwhile (a
// monitor write's 4 s timeout, the undo prompt hiding after 8 s). Held
// tasks are dropped with the scheduler.
// The monitor write queue's runs on the real clocks (its spacing between
// writes is measured on them). The store's stands still at `frozenAt`: a
// countdown or a time of day reads the same in a picture and in its
// restyled twin, whenever and however slowly each is drawn.
class ShotScheduler final : public Scheduler {
  public:
    explicit ShotScheduler(std::shared_ptr<Scheduler> eventLoop,
                           std::optional<Date> frozenAt = std::nullopt);

    MonotonicTime monotonicNow() const override;
    Date wallNow() const override;
    void post(Task task) override;
    TaskHandle postAfter(Duration delay, Task task) override;
    void runInBackground(Task task) override;

  private:
    std::shared_ptr<Scheduler> eventLoop_;
    std::optional<Date> frozenAt_;
    MonotonicTime frozenMonotonic_;
    std::mutex mutex_;
    std::vector<Task> held_;
};

// The simulated hardware behind a simulated world, open to a shot's
// `prepare` before the store is built (the dummy server world has none of
// it apart from the defaults).
struct ShotHardware {
    std::shared_ptr<InMemoryDefaultsStore> defaults = std::make_shared<InMemoryDefaultsStore>();
    std::shared_ptr<SimulatedDisplayManager> displayManager =
        std::make_shared<SimulatedDisplayManager>();
    std::shared_ptr<SimulatedBrightnessController> brightness =
        std::make_shared<SimulatedBrightnessController>();
    std::shared_ptr<SimulatedGammaController> gamma = std::make_shared<SimulatedGammaController>();
    std::shared_ptr<SimulatedColorProfileManager> profiles =
        std::make_shared<SimulatedColorProfileManager>();
    std::shared_ptr<SimulatedGlobalHotKeyRegistrar> registrar =
        std::make_shared<SimulatedGlobalHotKeyRegistrar>();
    std::shared_ptr<SimulatedI2CBuses> buses = std::make_shared<SimulatedI2CBuses>();
    std::shared_ptr<SimulatedDDCBusLocator> busLocator = std::make_shared<SimulatedDDCBusLocator>();
    // The monitor behind kShotDDCMonitorID (brightness, contrast, RGB gains,
    // input source, volume).
    std::shared_ptr<SimulatedDDCMonitor> monitor = std::make_shared<SimulatedDDCMonitor>();
    std::shared_ptr<ShotMonitorGate> monitorGate = std::make_shared<ShotMonitorGate>();
};

// Fills the hardware with the world's displays.
void populateShotHardware(ShotWorld world, ShotHardware& hardware);

// Holds the simulated monitor's answers and asks it for a new brightness:
// the write stays in flight, and the display busy, until the gate opens (its
// timeout is a delayed task of the ShotScheduler, which never falls due).
void holdMonitorWrite(ShotHardware& hardware, DisplayStore& store);

// The time every shot's store stands still at.
Date shotTime();

// The store's collaborators over the simulated hardware (synchronous
// refreshes, so the store is complete once built); the store and their
// monitor write queue run on ShotSchedulers over `eventLoop`.
DisplayStoreCollaborators simulatedShotCollaborators(const ShotHardware& hardware,
                                                     std::shared_ptr<Scheduler> eventLoop);

// The store's collaborators on the X server of $DISPLAY with its records in
// `folder`; the store runs on a ShotScheduler over `scheduler`.
DisplayStoreCollaborators dummyServerShotCollaborators(const std::filesystem::path& folder,
                                                       std::shared_ptr<Scheduler> scheduler);

}  // namespace quorvane
