#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "models/ddc/ddc_control_result.hpp"
#include "models/ddc/ddc_snapshot.hpp"
#include "platform/interfaces/ddc_controlling.hpp"
#include "platform/interfaces/ddc_write_queueing.hpp"
#include "platform/simulated/in_memory_defaults_store.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "platform/simulated/simulated_brightness_controller.hpp"
#include "platform/simulated/simulated_color_profile_manager.hpp"
#include "platform/simulated/simulated_display_manager.hpp"
#include "platform/simulated/simulated_gamma_controller.hpp"
#include "platform/simulated/simulated_global_hot_key_registrar.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/background_defaults_writer.hpp"

namespace quorvane::testing {

// A monitor link that never answers: the store tests reach monitors only
// through the write queue below.
class SilentDDCController final : public DDCControlling {
  public:
    void write(std::uint32_t, DDCVCPCode, std::uint16_t, ResultHandler) override {}
    void availability(std::uint32_t, std::function<void(DDCAvailability)>) override {}
    void probe(std::uint32_t, std::function<void(DDCSnapshot)>) override {}
    void read(std::uint32_t, DDCVCPCode, ResultHandler) override {}
};

// Holds every submitted write until the test answers it.
class HeldDDCWriteQueue final : public DDCWriteQueueing {
  public:
    void submit(DDCWriteRequest request, ResultHandler completion) override {
        held.emplace_back(std::move(request), std::move(completion));
    }
    void cancel(const DDCWriteRequest&) override {}

    // Answers the oldest held request as read back with `current` of `maximum`.
    void answerApplied(std::uint16_t current, std::uint16_t maximum);

    std::vector<std::pair<DDCWriteRequest, ResultHandler>> held;
};

// One store on the simulated platform under virtual time, with the real
// record stores on in-memory user defaults.
struct StoreWorld {
    StoreWorld();

    // Connects these displays to the simulated system; gamma writes to them
    // succeed from now on.
    void connect(std::vector<DisplaySnapshot> connected);
    // Builds the store and lets the start-up refresh finish.
    DisplayStore& start();
    // Builds the store and leaves every background read held.
    DisplayStore& startHoldingBackground();
    void finishBackground();

    void storePreferences(const QuorvanePreferences& preferences);
    QuorvanePreferences savedPreferences() const;
    QuorvaneRecoveryJournal savedJournal() const;
    // The red table's entry at the middle of the ramp on a display, or none.
    std::optional<float> midRed(DisplayID displayID) const;
    std::optional<float> midRed(const ColorAdjustment& adjustment) const;

    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<InMemoryDefaultsStore> defaults = std::make_shared<InMemoryDefaultsStore>();
    // When set before the store is built, the records go through it to
    // `defaults`, written in the background as the application does.
    std::shared_ptr<BackgroundDefaultsWriter> writer;
    // When set before the store is built, the journal comes from it instead
    // of `defaults`.
    std::shared_ptr<QuorvaneRecoveryJournalStoring> journalStore;
    std::shared_ptr<SimulatedDisplayManager> displayManager =
        std::make_shared<SimulatedDisplayManager>();
    std::shared_ptr<SimulatedBrightnessController> brightness =
        std::make_shared<SimulatedBrightnessController>();
    std::shared_ptr<SimulatedGammaController> gamma = std::make_shared<SimulatedGammaController>();
    std::shared_ptr<SimulatedColorProfileManager> profiles =
        std::make_shared<SimulatedColorProfileManager>();
    // When set before the store is built, the store manages profiles through
    // it instead of `profiles`.
    std::shared_ptr<ColorProfileManaging> profileManager;
    std::shared_ptr<SimulatedGlobalHotKeyRegistrar> registrar =
        std::make_shared<SimulatedGlobalHotKeyRegistrar>();
    std::shared_ptr<HeldDDCWriteQueue> writeQueue = std::make_shared<HeldDDCWriteQueue>();
    bool deferFullRefreshes = true;
    // When set before the store is built, the store dates its requests on it.
    std::shared_ptr<const RequestClock> requestClock;
    std::unique_ptr<DisplayStore> store;

    // Builds the store over these monitor links, or silent/held ones.
    void build(std::shared_ptr<DDCControlling> controller = nullptr,
               std::shared_ptr<DDCWriteQueueing> queue = nullptr);
};

// Displays as the simulated system reports them.
DisplaySnapshot externalDisplay(DisplayID id, std::string name, std::uint32_t serial, double x = 0);
DisplaySnapshot builtinDisplay(DisplayID id);
// Two monitors of one model without serial numbers: one identity for both.
std::vector<DisplaySnapshot> identicalTwins(DisplayID first, DisplayID second);

std::string rawIdentity(const DisplaySnapshot& display);

// A monitor link the test answers by hand: probes and writes wait until
// answered.
class HeldDDCController final : public DDCControlling {
  public:
    struct HeldWrite {
        std::uint32_t displayID = 0;
        DDCVCPCode code = DDCVCPCode::brightness;
        std::uint16_t value = 0;
        ResultHandler completion;
    };

    void write(std::uint32_t displayID, DDCVCPCode code, std::uint16_t value,
               ResultHandler completion) override {
        writes.push_back({displayID, code, value, std::move(completion)});
    }
    void availability(std::uint32_t, std::function<void(DDCAvailability)>) override {}
    void probe(std::uint32_t displayID, std::function<void(DDCSnapshot)> completion) override {
        probes.emplace_back(displayID, std::move(completion));
    }
    void read(std::uint32_t, DDCVCPCode, ResultHandler) override {}

    // Answers the oldest held probe of the display with these values (current,
    // maximum) and no problem.
    void answerProbe(std::uint32_t displayID,
                     const std::map<DDCVCPCode, std::pair<std::uint16_t, std::uint16_t>>& values);
    // Answers the oldest held write as read back unchanged, of `maximum`.
    void answerWrite(std::uint16_t maximum);

    std::vector<std::pair<std::uint32_t, std::function<void(DDCSnapshot)>>> probes;
    std::vector<HeldWrite> writes;
};

// Builds the world's store over `controller` and lets the start-up finish;
// writes go to `queue`, or to the world's held queue when none is given.
DisplayStore& startWithMonitorLink(StoreWorld& world, std::shared_ptr<DDCControlling> controller,
                                   std::shared_ptr<DDCWriteQueueing> queue = nullptr);

}  // namespace quorvane::testing
