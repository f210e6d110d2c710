#pragma once

#include <cstdint>
#include <functional>

#include "models/ddc/ddc_availability.hpp"
#include "models/ddc/ddc_control_result.hpp"
#include "models/ddc/ddc_snapshot.hpp"
#include "models/ddc/ddc_vcp_code.hpp"

namespace quorvane {

// One monitor write with read-back. The handler runs exactly once, on the
// owner's thread, after the call has returned.
class DDCWriting {
  public:
    using ResultHandler = std::function<void(DDCControlResult)>;

    virtual ~DDCWriting() = default;
    // Sets the control and answers with the value the monitor reports back.
    virtual void write(std::uint32_t displayID, DDCVCPCode code, std::uint16_t value,
                       ResultHandler completion) = 0;
};

// Probes, reads and writes monitor controls over DDC/CI. Handlers run exactly
// once, on the owner's thread, after the call has returned.
class DDCControlling : public DDCWriting {
  public:
    virtual void availability(std::uint32_t displayID,
                              std::function<void(DDCAvailability)> completion) = 0;
    // Never fails as a call: every problem is inside the snapshot.
    virtual void probe(std::uint32_t displayID, std::function<void(DDCSnapshot)> completion) = 0;
    virtual void read(std::uint32_t displayID, DDCVCPCode code, ResultHandler completion) = 0;
};

}  // namespace quorvane
