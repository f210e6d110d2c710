#include "models/diagnostics/quorvane_diagnostic_color_profile_state.hpp"

namespace quorvane {

Json QuorvaneDiagnosticColorProfile::toJson() const {
    Json object = Json::object();
    object["profileID"] = profileID;
    object["name"] = name;
    object["isCurrent"] = isCurrent;
    object["isDefault"] = isDefault;
    object["isFactory"] = isFactory;
    return object;
}

QuorvaneDiagnosticColorProfile QuorvaneDiagnosticColorProfile::fromJson(const Json& object) {
    QuorvaneDiagnosticColorProfile profile;
    profile.profileID = requireKey<std::string>(object, "profileID");
    profile.name = requireKey<std::string>(object, "name");
    profile.isCurrent = requireKey<bool>(object, "isCurrent");
    profile.isDefault = requireKey<bool>(object, "isDefault");
    profile.isFactory = requireKey<bool>(object, "isFactory");
    return profile;
}

Json QuorvaneDiagnosticColorProfileState::toJson() const {
    Json object = Json::object();
    object["status"] = status;
    putOptional(object, "currentProfileName", currentProfileName);
    putOptional(object, "currentProfileID", currentProfileID);
    putOptional(object, "currentProfileIsDefault", currentProfileIsDefault);
    putOptional(object, "currentProfileIsFactory", currentProfileIsFactory);
    object["availableProfileCount"] = availableProfileCount;
    object["profiles"] = encodeValue<Json>(profiles);
    putOptional(object, "message", message);
    return object;
}

QuorvaneDiagnosticColorProfileState QuorvaneDiagnosticColorProfileState::fromJson(
    const Json& object) {
    QuorvaneDiagnosticColorProfileState state;
    state.status = requireKey<std::string>(object, "status");
    state.currentProfileName = optionalKey<std::string>(object, "currentProfileName");
    state.currentProfileID = optionalKey<std::string>(object, "currentProfileID");
    state.currentProfileIsDefault = optionalKey<bool>(object, "currentProfileIsDefault");
    state.currentProfileIsFactory = optionalKey<bool>(object, "currentProfileIsFactory");
    state.availableProfileCount = requireKey<std::int64_t>(object, "availableProfileCount");
    state.profiles = requireKey<std::vector<QuorvaneDiagnosticColorProfile>>(object, "profiles");
    state.message = optionalKey<std::string>(object, "message");
    return state;
}

}  // namespace quorvane
