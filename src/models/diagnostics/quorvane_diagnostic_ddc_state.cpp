#include "models/diagnostics/quorvane_diagnostic_ddc_state.hpp"

namespace quorvane {

Json QuorvaneDiagnosticDDCValue::toJson() const {
    Json object = Json::object();
    object["label"] = label;
    putOptional(object, "technicalCode", technicalCode);
    putOptional(object, "currentValue", currentValue);
    putOptional(object, "maximumValue", maximumValue);
    return object;
}

QuorvaneDiagnosticDDCValue QuorvaneDiagnosticDDCValue::fromJson(const Json& object) {
    QuorvaneDiagnosticDDCValue value;
    value.label = requireKey<std::string>(object, "label");
    value.technicalCode = optionalKey<std::string>(object, "technicalCode");
    value.currentValue = optionalKey<std::uint16_t>(object, "currentValue");
    value.maximumValue = optionalKey<std::uint16_t>(object, "maximumValue");
    return value;
}

Json QuorvaneDiagnosticUnsupportedControl::toJson() const {
    Json object = Json::object();
    object["label"] = label;
    putOptional(object, "technicalCode", technicalCode);
    object["failureReason"] = failureReason;
    return object;
}

QuorvaneDiagnosticUnsupportedControl QuorvaneDiagnosticUnsupportedControl::fromJson(
    const Json& object) {
    QuorvaneDiagnosticUnsupportedControl control;
    control.label = requireKey<std::string>(object, "label");
    control.technicalCode = optionalKey<std::string>(object, "technicalCode");
    control.failureReason = requireKey<std::string>(object, "failureReason");
    return control;
}

Json QuorvaneDiagnosticDDCSnapshot::toJson() const {
    Json object = Json::object();
    putOptional(object, "busCount", busCount);
    putOptional(object, "lastError", lastError);
    object["values"] = encodeValue<Json>(values);
    object["unsupported"] = encodeValue<Json>(unsupported);
    return object;
}

QuorvaneDiagnosticDDCSnapshot QuorvaneDiagnosticDDCSnapshot::fromJson(const Json& object) {
    QuorvaneDiagnosticDDCSnapshot snapshot;
    snapshot.busCount = optionalKey<std::uint32_t>(object, "busCount");
    snapshot.lastError = optionalKey<std::string>(object, "lastError");
    snapshot.values = requireKey<std::vector<QuorvaneDiagnosticDDCValue>>(object, "values");
    snapshot.unsupported =
        requireKey<std::vector<QuorvaneDiagnosticUnsupportedControl>>(object, "unsupported");
    return snapshot;
}

Json QuorvaneDiagnosticWriteStatus::toJson() const {
    Json object = Json::object();
    object["label"] = label;
    putOptional(object, "technicalCode", technicalCode);
    object["phase"] = phase;
    putOptional(object, "requestedRawValue", requestedRawValue);
    putOptional(object, "message", message);
    return object;
}

QuorvaneDiagnosticWriteStatus QuorvaneDiagnosticWriteStatus::fromJson(const Json& object) {
    QuorvaneDiagnosticWriteStatus status;
    status.label = requireKey<std::string>(object, "label");
    status.technicalCode = optionalKey<std::string>(object, "technicalCode");
    status.phase = requireKey<std::string>(object, "phase");
    status.requestedRawValue = optionalKey<std::uint16_t>(object, "requestedRawValue");
    status.message = optionalKey<std::string>(object, "message");
    return status;
}

Json QuorvaneDiagnosticDDCState::toJson() const {
    Json object = Json::object();
    object["probeBusy"] = probeBusy;
    object["writeBusy"] = writeBusy;
    putOptional(object, "capability", capability);
    putOptional(object, "snapshot", snapshot);
    object["writeStatuses"] = encodeValue<Json>(writeStatuses);
    return object;
}

QuorvaneDiagnosticDDCState QuorvaneDiagnosticDDCState::fromJson(const Json& object) {
    QuorvaneDiagnosticDDCState state;
    state.probeBusy = requireKey<bool>(object, "probeBusy");
    state.writeBusy = requireKey<bool>(object, "writeBusy");
    state.capability = optionalKey<QuorvaneDiagnosticCapability>(object, "capability");
    state.snapshot = optionalKey<QuorvaneDiagnosticDDCSnapshot>(object, "snapshot");
    state.writeStatuses =
        requireKey<std::vector<QuorvaneDiagnosticWriteStatus>>(object, "writeStatuses");
    return state;
}

}  // namespace quorvane
