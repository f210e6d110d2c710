#include "app/screenshots/shot_world.hpp"

#include <thread>

#include "app/composition/linux_display_store_factory.hpp"
#include "services/ddc/ddc_controller.hpp"
#include "services/ddc/ddc_write_queue.hpp"
#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"

namespace quorvane {

namespace {

DisplaySnapshot display(DisplayID id, std::string name, std::uint32_t serial, double x, int width,
                        int height) {
    DisplaySnapshot snapshot;
    snapshot.id = id;
    snapshot.name = std::move(name);
    snapshot.vendorNumber = 4268;
    snapshot.modelNumber = 41000 + id;
    snapshot.serialNumber = serial;
    snapshot.bounds = {x, 0, static_cast<double>(width), static_cast<double>(height)};
    for (const auto& [w, h] : {std::pair{width, height}, std::pair{1280, 720}}) {
        DisplayModeSnapshot mode;
        mode.id = std::to_string(w) + "x" + std::to_string(h) + "@60";
        mode.width = mode.pixelWidth = w;
        mode.height = mode.pixelHeight = h;
        mode.refreshRate = 60;
        mode.isCurrent = w == width;
        snapshot.modes.push_back(mode);
    }
    snapshot.currentMode = snapshot.modes.front();
    return snapshot;
}

void addBuiltinPanel(ShotHardware& hardware, std::vector<DisplaySnapshot>& displays) {
    auto panel = display(kShotBuiltinID, "eDP-1", 0, 0, 1920, 1200);
    panel.isBuiltin = true;
    panel.isMain = true;
    displays.push_back(panel);
    hardware.brightness->setValue(kShotBuiltinID, 0.6);
}

void addDDCMonitor(ShotHardware& hardware, std::vector<DisplaySnapshot>& displays) {
    displays.push_back(display(kShotDDCMonitorID, "DELL U2720Q", 8151, 1920, 2560, 1440));
    auto& monitor = *hardware.monitor;
    monitor.setControl(0x10, 70, 100);     // brightness
    monitor.setControl(0x12, 50, 100);     // contrast
    monitor.setControl(0x16, 100, 100);    // red gain
    monitor.setControl(0x18, 95, 100);     // green gain
    monitor.setControl(0x1A, 90, 100);     // blue gain
    monitor.setControl(0x60, 0x0F, 0x12);  // input source: DisplayPort 1
    monitor.setControl(0x62, 30, 100);     // volume
    hardware.buses->attach("/dev/i2c-7", hardware.monitor);
    hardware.busLocator->setBuses(kShotDDCMonitorID, {"/dev/i2c-7"});
}

void addColourOnlyDisplay(ShotHardware& hardware, std::vector<DisplaySnapshot>& displays) {
    displays.push_back(display(kShotColourOnlyID, "HDMI-1", 0, 4480, 1920, 1080));
    hardware.buses->addEmptyBus("/dev/i2c-9");
    hardware.busLocator->setBuses(kShotColourOnlyID, {"/dev/i2c-9"});
}

// The monitor write queue with a ShotScheduler of its own (declared first,
// so it outlives the queue). The store's own scheduler cannot be replaced:
// the host always gives it the event loop's.
class ShotDDCWriteQueue final : public DDCWriteQueueing {
  public:
    ShotDDCWriteQueue(std::shared_ptr<DDCWriting> writer, std::shared_ptr<Scheduler> eventLoop)
        : scheduler_(std::move(eventLoop)), queue_(std::move(writer), scheduler_) {}

    void submit(DDCWriteRequest request, ResultHandler completion) override {
        queue_.submit(std::move(request), std::move(completion));
    }
    void cancel(const DDCWriteRequest& request) override { queue_.cancel(request); }

  private:
    ShotScheduler scheduler_;
    DDCWriteQueue queue_;
};

}  // namespace

void ShotMonitorGate::hold() {
    const std::lock_guard lock(mutex_);
    held_ = true;
}

void ShotMonitorGate::release() {
    {
        const std::lock_guard lock(mutex_);
        held_ = false;
    }
    opened_.notify_all();
}

void ShotMonitorGate::pass() {
    std::unique_lock lock(mutex_);
    opened_.wait(lock, [this] { return !held_; });
}

ShotScheduler::ShotScheduler(std::shared_ptr<Scheduler> eventLoop, std::optional<Date> frozenAt)
    : eventLoop_(std::move(eventLoop)),
      frozenAt_(frozenAt),
      frozenMonotonic_(eventLoop_->monotonicNow()) {}

MonotonicTime ShotScheduler::monotonicNow() const {
    return frozenAt_ ? frozenMonotonic_ : eventLoop_->monotonicNow();
}

Date ShotScheduler::wallNow() const {
    return frozenAt_ ? *frozenAt_ : eventLoop_->wallNow();
}

Date shotTime() {
    // Monday 2 March 2026, 09:30 UTC.
    return Date(std::chrono::seconds(1'772'443'800));
}

void ShotScheduler::post(Task task) {
    eventLoop_->post(std::move(task));
}

TaskHandle ShotScheduler::postAfter(Duration, Task task) {
    const std::lock_guard lock(mutex_);
    held_.push_back(std::move(task));
    return {};
}

void ShotScheduler::runInBackground(Task task) {
    eventLoop_->runInBackground(std::move(task));
}

void populateShotHardware(ShotWorld world, ShotHardware& hardware) {
    std::vector<DisplaySnapshot> displays;
    if (world == ShotWorld::builtinPanel || world == ShotWorld::mixed)
        addBuiltinPanel(hardware, displays);
    if (world == ShotWorld::ddcMonitor || world == ShotWorld::mixed)
        addDDCMonitor(hardware, displays);
    if (world == ShotWorld::colourOnly || world == ShotWorld::mixed)
        addColourOnlyDisplay(hardware, displays);
    if (!displays.empty() && world != ShotWorld::builtinPanel && world != ShotWorld::mixed)
        displays.front().isMain = true;
    std::set<DisplayID> known;
    for (const auto& each : displays)
        known.insert(each.id);
    hardware.gamma->setKnownDisplays(known);
    hardware.displayManager->setDisplays(std::move(displays));
}

void holdMonitorWrite(ShotHardware& hardware, DisplayStore& store) {
    hardware.monitorGate->hold();
    store.setDDCControl(DDCVCPCode::brightness, 0.4, kShotDDCMonitorID);
}

DisplayStoreCollaborators simulatedShotCollaborators(const ShotHardware& hardware,
                                                     std::shared_ptr<Scheduler> eventLoop) {
    DDCTransportEnvironment transport{
        hardware.busLocator, hardware.buses,
        [gate = hardware.monitorGate](std::chrono::microseconds pause) {
            gate->pass();
            std::this_thread::sleep_for(pause);
        }};
    DisplayStoreCollaborators result;
    result.preferencesStore = std::make_shared<UserDefaultsPreferencesStore>(hardware.defaults);
    result.ddcCapabilityCacheStore =
        std::make_shared<UserDefaultsDDCCapabilityCacheStore>(hardware.defaults);
    result.displayManager = hardware.displayManager;
    result.brightnessController = hardware.brightness;
    result.gammaController = hardware.gamma;
    auto controller = std::make_shared<DDCController>(*eventLoop, std::move(transport));
    result.ddcWriteQueue = std::make_shared<ShotDDCWriteQueue>(controller, eventLoop);
    result.ddcController = std::move(controller);
    result.globalHotKeyRegistrar = hardware.registrar;
    result.colorProfileManager = hardware.profiles;
    result.recoveryJournalStore =
        std::make_shared<UserDefaultsRecoveryJournalStore>(hardware.defaults);
    result.scheduler = std::make_shared<ShotScheduler>(std::move(eventLoop), shotTime());
    // A probe held for a picture is still running however long the picture
    // takes to draw.
    result.ddcProbeTimeout = std::chrono::hours(1);
    result.deferFullRefreshes = false;
    return result;
}

DisplayStoreCollaborators dummyServerShotCollaborators(const std::filesystem::path& folder,
                                                       std::shared_ptr<Scheduler> scheduler) {
    auto result =
        LinuxDisplayStoreFactory::collaborators({scheduler, {}, folder, {folder / "icc"}});
    result.scheduler = std::make_shared<ShotScheduler>(std::move(scheduler), shotTime());
    return result;
}

}  // namespace quorvane
