#include "models/diagnostics/quorvane_diagnostic_capability.hpp"

namespace quorvane {

namespace {

void putOptionalDate(Json& object, const char* key, const std::optional<Date>& date) {
    if (date)
        object[key] = formatIso8601(*date);
}

}  // namespace

Json QuorvaneDiagnosticCapabilityControl::toJson() const {
    Json object = Json::object();
    object["label"] = label;
    putOptional(object, "technicalCode", technicalCode);
    object["state"] = state;
    putOptional(object, "currentValue", currentValue);
    putOptional(object, "maximumValue", maximumValue);
    putOptional(object, "failureReason", failureReason);
    putOptionalDate(object, "lastSucceededAt", lastSucceededAt);
    putOptionalDate(object, "lastFailedAt", lastFailedAt);
    return object;
}

QuorvaneDiagnosticCapabilityControl QuorvaneDiagnosticCapabilityControl::fromJson(
    const Json& object) {
    QuorvaneDiagnosticCapabilityControl control;
    control.label = requireKey<std::string>(object, "label");
    control.technicalCode = optionalKey<std::string>(object, "technicalCode");
    control.state = requireKey<std::string>(object, "state");
    control.currentValue = optionalKey<std::uint16_t>(object, "currentValue");
    control.maximumValue = optionalKey<std::uint16_t>(object, "maximumValue");
    control.failureReason = optionalKey<std::string>(object, "failureReason");
    control.lastSucceededAt = optionalDateKey(object, "lastSucceededAt");
    control.lastFailedAt = optionalDateKey(object, "lastFailedAt");
    return control;
}

Json QuorvaneDiagnosticCapability::toJson() const {
    Json object = Json::object();
    object["badgeKind"] = badgeKind;
    object["badgeTitle"] = badgeTitle;
    putOptional(object, "badgeDetail", badgeDetail);
    putOptionalDate(object, "lastCheckedAt", lastCheckedAt);
    putOptional(object, "busCount", busCount);
    putOptional(object, "displayFailureReason", displayFailureReason);
    object["controls"] = encodeValue<Json>(controls);
    return object;
}

QuorvaneDiagnosticCapability QuorvaneDiagnosticCapability::fromJson(const Json& object) {
    QuorvaneDiagnosticCapability capability;
    capability.badgeKind = requireKey<std::string>(object, "badgeKind");
    capability.badgeTitle = requireKey<std::string>(object, "badgeTitle");
    capability.badgeDetail = optionalKey<std::string>(object, "badgeDetail");
    capability.lastCheckedAt = optionalDateKey(object, "lastCheckedAt");
    capability.busCount = optionalKey<std::uint32_t>(object, "busCount");
    capability.displayFailureReason = optionalKey<std::string>(object, "displayFailureReason");
    capability.controls =
        requireKey<std::vector<QuorvaneDiagnosticCapabilityControl>>(object, "controls");
    return capability;
}

}  // namespace quorvane
