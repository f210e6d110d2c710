#include "models/ddc/ddc_write_result.hpp"

namespace quorvane {

DDCWriteResultOutcome DDCWriteResultOutcome::applied(DDCControlValue readBack) {
    DDCWriteResultOutcome outcome;
    outcome.kind = Kind::applied;
    outcome.appliedValue = readBack;
    return outcome;
}

DDCWriteResultOutcome DDCWriteResultOutcome::supersededBy(std::uint16_t newerRawValue) {
    DDCWriteResultOutcome outcome;
    outcome.kind = Kind::supersededBy;
    outcome.supersedingRawValue = newerRawValue;
    return outcome;
}

DDCWriteResultOutcome DDCWriteResultOutcome::failed(std::string text) {
    DDCWriteResultOutcome outcome;
    outcome.kind = Kind::failed;
    outcome.failureText = std::move(text);
    return outcome;
}

DDCWriteResult DDCWriteResult::answering(const DDCWriteRequest& request,
                                         DDCWriteResultOutcome outcome) {
    return {request.id, request.key, request.rawValue, request.kind, std::move(outcome)};
}

}  // namespace quorvane
