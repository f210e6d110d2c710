#pragma once

#include <cstdint>
#include <string>

#include "models/ddc/ddc_control_value.hpp"
#include "models/ddc/ddc_write_request.hpp"

namespace quorvane {

// How a write request ended: applied (the read-back value), superseded by a
// newer request for the same control while it waited (the newer raw value),
// or failed (the text to show).
struct DDCWriteResultOutcome {
    enum class Kind { applied, supersededBy, failed };

    Kind kind = Kind::failed;
    DDCControlValue appliedValue;           // applied only
    std::uint16_t supersedingRawValue = 0;  // supersededBy only
    std::string failureText;                // failed only

    static DDCWriteResultOutcome applied(DDCControlValue readBack);
    static DDCWriteResultOutcome supersededBy(std::uint16_t newerRawValue);
    static DDCWriteResultOutcome failed(std::string text);

    bool operator==(const DDCWriteResultOutcome&) const = default;
};

// The one answer to one write request; everything but the outcome is the
// request's own.
struct DDCWriteResult {
    std::string requestID;
    DDCWriteKey key;
    std::uint16_t requestedRawValue = 0;
    DDCWriteRequestKind kind = DDCWriteRequestKind::sliderFinalValue;
    DDCWriteResultOutcome outcome;

    static DDCWriteResult answering(const DDCWriteRequest& request, DDCWriteResultOutcome outcome);

    bool operator==(const DDCWriteResult&) const = default;
};

}  // namespace quorvane
