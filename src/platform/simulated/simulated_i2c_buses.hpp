#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ddc_transport/i2c_bus.hpp"
#include "platform/interfaces/scheduler.hpp"
#include "platform/simulated/simulated_ddc_monitor.hpp"

namespace quorvane {

// One step some code took on a simulated bus, as the bus saw it.
struct SimulatedI2CEvent {
    enum class Kind { open, setSlaveAddress, write, read };

    Kind kind = Kind::open;
    std::string path;
    std::vector<std::uint8_t> bytes;  // sent (write), received (read), address (setSlaveAddress)
    I2CReadMode mode = I2CReadMode::ddcci;
    I2CStatus status = I2CStatus::ok;
    MonotonicTime time{};

    bool operator==(const SimulatedI2CEvent&) const = default;
};

// Bus device files with simulated monitors on them, opened through the same
// seam as /dev/i2c-N. A path nobody added is missing; a bus without a
// monitor acknowledges nothing. Every step is logged.
class SimulatedI2CBuses final : public I2CBusOpening {
  public:
    // The clock, when given, stamps the log and must outlive the buses.
    explicit SimulatedI2CBuses(const Clock* clock = nullptr);

    void attach(const std::string& path, std::shared_ptr<SimulatedDDCMonitor> monitor);
    void addEmptyBus(const std::string& path);
    // Opening `path` fails with `status` (missing, accessDenied, failed).
    void failOpen(const std::string& path, I2CStatus status);
    // Selecting the monitor address on `path` fails with `status`.
    void failSlaveAddress(const std::string& path, I2CStatus status);

    I2COpenResult open(const std::string& devicePath) const override;

    std::vector<SimulatedI2CEvent> events() const;
    std::vector<SimulatedI2CEvent> events(SimulatedI2CEvent::Kind kind) const;
    void clearEvents();
    // Buses opened and not yet closed.
    int openCount() const;

    struct Shared;

  private:
    std::shared_ptr<Shared> shared_;
};

}  // namespace quorvane
