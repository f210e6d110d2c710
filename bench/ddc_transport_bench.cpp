// Wall time of DDC/CI work against the simulated monitor with real pauses,
// as a ratio to the waits the protocol itself requires (40 ms before each
// reply is read, 40 ms after each write). "overhead_pct" is what the
// transport, the bus layer and the controller add on top.

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "ddc_transport/sysfs_ddc_bus_locator.hpp"
#include "platform/linux/randr_ddc_output_describer.hpp"
#include "platform/linux/shared_x_connection.hpp"
#include "platform/linux/system_sleeper.hpp"
#include "platform/linux/thread_scheduler.hpp"
#include "platform/simulated/simulated_ddc_monitor.hpp"
#include "platform/simulated/simulated_i2c_buses.hpp"
#include "services/ddc/ddc_controller.hpp"

namespace quorvane {
namespace {

constexpr double kProtocolWaitMs = 40.0;

// A temporary /sys with one DRM connector, "card0-DUMMY-1", whose DDC bus is
// i2c-5: the name the dummy X server's second output goes by.
class SysfsTree {
  public:
    SysfsTree() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quorvane-ddc-bench-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        const auto connector = root / "class" / "drm" / "card0-DUMMY-1";
        std::filesystem::create_directories(connector);
        std::filesystem::create_directories(root / "devices" / "i2c-5");
        std::filesystem::create_directory_symlink(root / "devices" / "i2c-5", connector / "ddc");
    }
    ~SysfsTree() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    std::filesystem::path root;
};

// The display ID of the X server's DUMMY1 output, with the real bus locator
// over the temporary tree: what the application runs, but for the bus.
struct Rig {
    Rig() {
        for (DDCVCPCode code : kAllDDCVCPCodes)
            monitor->setControl(rawValue(code), 50, 100);
        buses->attach("/dev/i2c-5", monitor);
        const char* name = std::getenv("QUORVANE_TEST_DISPLAY");
        if (name == nullptr || *name == '\0')
            return;
        auto connection = std::make_shared<SharedXConnection>(name);
        if (auto lease = connection->lease()) {
            for (const auto& output : lease->activeOutputs()) {
                if (output.name == "DUMMY1")
                    display = static_cast<std::uint32_t>(output.id);
            }
        }
        auto locator = std::make_shared<SysfsDDCBusLocator>(
            std::make_shared<RandrDDCOutputDescriber>(connection), tree.root, "/dev");
        transport = {locator, buses, ddcSleepFunction(sleeper)};
    }

    SystemSleeper sleeper;
    SysfsTree tree;
    std::uint32_t display = 0;
    std::shared_ptr<SimulatedDDCMonitor> monitor = std::make_shared<SimulatedDDCMonitor>();
    std::shared_ptr<SimulatedI2CBuses> buses = std::make_shared<SimulatedI2CBuses>();
    DDCTransportEnvironment transport;
};

// Runs `body` per iteration and reports its wall time against `waits`
// protocol pauses of 40 ms each.
template <class Body>
void measure(benchmark::State& state, int waits, Body body,
             SimulatedDDCMonitor::Fault fault = SimulatedDDCMonitor::Fault::none) {
    Rig rig;
    if (rig.display == 0) {
        state.SkipWithError("no X server with a DUMMY1 output (QUORVANE_TEST_DISPLAY)");
        return;
    }
    rig.monitor->setFault(fault);
    double totalMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        body(rig);
        const auto end = std::chrono::steady_clock::now();
        totalMs += std::chrono::duration<double, std::milli>(end - start).count();
        rig.buses->clearEvents();
    }
    const double perIteration = totalMs / static_cast<double>(state.iterations());
    const double minimum = waits * kProtocolWaitMs;
    state.counters["wall_ms"] = perIteration;
    state.counters["protocol_ms"] = minimum;
    state.counters["ratio"] = perIteration / minimum;
    state.counters["overhead_pct"] = (perIteration / minimum - 1.0) * 100.0;
}

void BM_TransportRead(benchmark::State& state) {
    measure(state, 1, [](Rig& rig) {
        std::uint16_t current = 0;
        std::uint16_t maximum = 0;
        benchmark::DoNotOptimize(
            QuorvaneDDCReadVCP(rig.transport, rig.display, 0x10, &current, &maximum));
    });
}

void BM_VerifiedWrite(benchmark::State& state) {
    std::uint16_t value = 0;
    measure(state, 2, [&value](Rig& rig) {
        value = static_cast<std::uint16_t>((value + 1) % 100);
        benchmark::DoNotOptimize(
            DDCController::runWrite(rig.transport, rig.display, DDCVCPCode::brightness, value));
    });
}

void probeOnce(Rig& rig) {
    benchmark::DoNotOptimize(DDCController::runProbe(rig.transport, rig.display));
}

void BM_Probe(benchmark::State& state) {
    measure(state, 7, probeOnce);
}

// The same through the controller's serial queue: a background thread for
// the transaction and the hop back to the owner's thread.
void BM_ControllerProbe(benchmark::State& state) {
    ThreadScheduler scheduler(1);
    std::unique_ptr<DDCController> controller;
    measure(state, 7, [&](Rig& rig) {
        if (!controller)
            controller = std::make_unique<DDCController>(scheduler, rig.transport);
        bool done = false;
        controller->probe(rig.display, [&done](const DDCSnapshot&) { done = true; });
        scheduler.runUntil([&done] { return done; });
    });
}

void BM_ControllerVerifiedWrite(benchmark::State& state) {
    ThreadScheduler scheduler(1);
    std::unique_ptr<DDCController> controller;
    std::uint16_t value = 0;
    measure(state, 2, [&](Rig& rig) {
        if (!controller)
            controller = std::make_unique<DDCController>(scheduler, rig.transport);
        value = static_cast<std::uint16_t>((value + 1) % 100);
        bool done = false;
        controller->write(rig.display, DDCVCPCode::contrast, value,
                          [&done](const DDCControlResult&) { done = true; });
        scheduler.runUntil([&done] { return done; });
    });
}

// A monitor with DDC/CI switched off (nothing acknowledges the request): the
// probe ends after the first control's eight attempts, each followed by its
// 40 ms pause (320 ms). One that acknowledges every request but never
// replies is asked for all seven controls, each attempt waiting for its reply
// and pausing after it: 7 x 8 x 2 waits (4.48 s), inside the store's 8 s.
void BM_ProbeOfAMonitorThatDoesNotAcknowledge(benchmark::State& state) {
    measure(state, kDDCReadAttemptsPerMode * 2, probeOnce, SimulatedDDCMonitor::Fault::nakRequest);
}
void BM_ProbeOfAMonitorThatNeverReplies(benchmark::State& state) {
    measure(state, static_cast<int>(kDDCVCPProbeOrder.size()) * kDDCReadAttemptsPerMode * 2 * 2,
            probeOnce, SimulatedDDCMonitor::Fault::noReply);
}

BENCHMARK(BM_TransportRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);
BENCHMARK(BM_VerifiedWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(25);
BENCHMARK(BM_Probe)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_ControllerProbe)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_ControllerVerifiedWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(25);
BENCHMARK(BM_ProbeOfAMonitorThatDoesNotAcknowledge)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_ProbeOfAMonitorThatNeverReplies)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

}  // namespace
}  // namespace quorvane
