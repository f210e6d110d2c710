// Wall time of DDC/CI work against the simulated monitor with real pauses,
// as a ratio to the waits the protocol itself requires (40 ms before each
// reply is read, 40 ms after each write). "overhead_pct" is what the
// transport, the bus layer and the controller add on top.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "platform/linux/system_sleeper.hpp"
#include "platform/linux/thread_scheduler.hpp"
#include "platform/simulated/simulated_ddc_bus_locator.hpp"
#include "platform/simulated/simulated_ddc_monitor.hpp"
#include "platform/simulated/simulated_i2c_buses.hpp"
#include "services/ddc/ddc_controller.hpp"

namespace quorvane {
namespace {

constexpr std::uint32_t kDisplay = 5;
constexpr double kProtocolWaitMs = 40.0;

struct Rig {
    Rig() {
        for (DDCVCPCode code : kAllDDCVCPCodes)
            monitor->setControl(rawValue(code), 50, 100);
        buses->attach("/dev/i2c-5", monitor);
        locator->setBuses(kDisplay, {"/dev/i2c-5"});
    }

    SystemSleeper sleeper;
    std::shared_ptr<SimulatedDDCMonitor> monitor = std::make_shared<SimulatedDDCMonitor>();
    std::shared_ptr<SimulatedI2CBuses> buses = std::make_shared<SimulatedI2CBuses>();
    std::shared_ptr<SimulatedDDCBusLocator> locator = std::make_shared<SimulatedDDCBusLocator>();
    DDCTransportEnvironment transport{locator, buses, ddcSleepFunction(sleeper)};
};

// Runs `body` per iteration and reports its wall time against `waits`
// protocol pauses of 40 ms each.
template <class Body>
void measure(benchmark::State& state, int waits, Body body) {
    Rig rig;
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
            QuorvaneDDCReadVCP(rig.transport, kDisplay, 0x10, &current, &maximum));
    });
}

void BM_VerifiedWrite(benchmark::State& state) {
    std::uint16_t value = 0;
    measure(state, 2, [&value](Rig& rig) {
        value = static_cast<std::uint16_t>((value + 1) % 100);
        benchmark::DoNotOptimize(
            DDCController::runWrite(rig.transport, kDisplay, DDCVCPCode::brightness, value));
    });
}

void BM_Probe(benchmark::State& state) {
    measure(state, 7, [](Rig& rig) {
        benchmark::DoNotOptimize(DDCController::runProbe(rig.transport, kDisplay));
    });
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
        controller->probe(kDisplay, [&done](const DDCSnapshot&) { done = true; });
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
        controller->write(kDisplay, DDCVCPCode::contrast, value,
                          [&done](const DDCControlResult&) { done = true; });
        scheduler.runUntil([&done] { return done; });
    });
}

BENCHMARK(BM_TransportRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);
BENCHMARK(BM_VerifiedWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(25);
BENCHMARK(BM_Probe)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_ControllerProbe)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
BENCHMARK(BM_ControllerVerifiedWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(25);

}  // namespace
}  // namespace quorvane
