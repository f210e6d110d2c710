#pragma once

// The DDC/CI packet transport: Get and Set VCP Feature over an I2C bus, as
// plain blocking functions that return a result code (ddc_result_code.hpp).
// Nothing is kept between calls; every bus opened during a call is closed
// before it returns. Callers serialise the calls: one transaction at a time.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "ddc_transport/ddc_bus_locating.hpp"
#include "ddc_transport/i2c_bus.hpp"

namespace quorvane {

// Blocks the calling thread for the given time.
using DDCSleepFunction = std::function<void(std::chrono::microseconds)>;

// The wait between a request and the reading of its reply, the pause after a
// failed read attempt and the settling pause after a write.
inline constexpr std::chrono::microseconds kDDCReplyDelay{40000};
inline constexpr std::chrono::microseconds kDDCRetryPause{40000};
inline constexpr std::chrono::microseconds kDDCPostWritePause{40000};
// Per read: this many attempts with a DDC/CI-framed reply, then as many
// with a plain reply.
inline constexpr int kDDCReadAttemptsPerMode = 4;

// What the transport reaches the hardware through. Copies share the parts.
struct DDCTransportEnvironment {
    std::shared_ptr<const DDCBusLocating> locator;
    std::shared_ptr<const I2CBusOpening> buses;
    DDCSleepFunction sleep;
};

// Why the returned code came about, where the code alone cannot say.
struct DDCTransportFailureDetail {
    // The last bus tried could not be opened for lack of permission.
    bool accessDenied = false;
    // The last bus tried has no device node (/dev/i2c-N): the connector has
    // the bus, so the i2c-dev module is not loaded.
    bool deviceNodeMissing = false;
    // A read whose request no device took on any attempt on any bus: nothing
    // answers at the monitor address (no monitor there, or DDC/CI switched
    // off), so no other code can be read either. A request that was taken
    // but never answered does not count.
    bool requestNeverAcknowledged = false;
};

// Whether the display can be reached and how many buses it has. `busCount`
// may be null; when given it is set to 0 first and to the bus count only on
// success. Returns 0, kDDCBuiltInDisplay, kDDCNoConnector or kDDCNoBus;
// opens no bus and sends nothing.
std::int32_t QuorvaneDDCAvailability(const DDCTransportEnvironment& environment,
                                     std::uint32_t displayID, std::uint32_t* busCount);

// Reads one VCP code: up to 4 attempts with a DDC/CI-framed reply, then up to
// 4 with a plain one, 40 ms apart. Both out-values are required
// (kDDCMissingOutValue otherwise), set to 0 first and filled only on success.
std::int32_t QuorvaneDDCReadVCP(const DDCTransportEnvironment& environment, std::uint32_t displayID,
                                std::uint8_t code, std::uint16_t* current, std::uint16_t* maximum,
                                DDCTransportFailureDetail* detail = nullptr);

// Sets one VCP code in a single attempt without read-back; after a success
// it pauses 40 ms so that the monitor settles before the next packet.
std::int32_t QuorvaneDDCWriteVCP(const DDCTransportEnvironment& environment,
                                 std::uint32_t displayID, std::uint8_t code, std::uint16_t value,
                                 DDCTransportFailureDetail* detail = nullptr);

}  // namespace quorvane
