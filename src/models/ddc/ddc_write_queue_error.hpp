#pragma once

#include <cstdint>
#include <string>

#include "models/ddc/ddc_vcp_code.hpp"

namespace quorvane {

// Why the write queue did not apply a request.
struct DDCWriteQueueError {
    enum class Kind { transport, readBackMismatch, timeout, cancelled, settling };

    Kind kind = Kind::transport;
    std::string transportText;                 // transport only
    DDCVCPCode code = DDCVCPCode::brightness;  // readBackMismatch only
    std::uint16_t requested = 0;               // readBackMismatch only
    std::uint16_t observed = 0;                // readBackMismatch only

    static DDCWriteQueueError transport(std::string text);
    static DDCWriteQueueError readBackMismatch(DDCVCPCode code, std::uint16_t requested,
                                               std::uint16_t observed);
    static DDCWriteQueueError timeout();
    static DDCWriteQueueError cancelled();
    static DDCWriteQueueError settling();

    std::string description() const;

    bool operator==(const DDCWriteQueueError&) const = default;
};

}  // namespace quorvane
