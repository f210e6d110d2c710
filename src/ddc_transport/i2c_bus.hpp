#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace quorvane {

// What one step on an I2C bus came to.
enum class I2CStatus {
    ok,
    missing,        // the device node does not exist (no such bus, i2c-dev not loaded)
    accessDenied,   // the user may not open the device node
    busy,           // a kernel driver holds the address
    noAcknowledge,  // nobody answered on the bus
    failed,         // any other error, including a short transfer
};

// How the host reads a reply. A DDC/CI-framed reply comes first; a monitor
// that fails it is asked again with a plain read of the same length.
enum class I2CReadMode {
    ddcci,
    simple,
};

// One opened bus (a /dev/i2c-N file). Closing happens on destruction.
class I2CBus {
  public:
    virtual ~I2CBus() = default;
    // Selects the 7-bit address that the following writes and reads go to.
    virtual I2CStatus setSlaveAddress(std::uint8_t address) = 0;
    // One write transaction carrying all `bytes`.
    virtual I2CStatus write(std::span<const std::uint8_t> bytes) = 0;
    // One read transaction filling all of `buffer`.
    virtual I2CStatus read(std::span<std::uint8_t> buffer, I2CReadMode mode) = 0;
};

struct I2COpenResult {
    std::unique_ptr<I2CBus> bus;  // null unless status is ok
    I2CStatus status = I2CStatus::failed;
};

// Opens bus device files by path; the seam through which tests put a
// simulated monitor on the bus.
class I2CBusOpening {
  public:
    virtual ~I2CBusOpening() = default;
    virtual I2COpenResult open(const std::string& devicePath) const = 0;
};

}  // namespace quorvane
