#include "platform/linux/icc_color_profile_manager.hpp"

#include <X11/Xatom.h>

#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>

#include "models/color/color_profile_error.hpp"
#include "platform/linux/edid.hpp"
#include "platform/linux/icc_display_profile_cache.hpp"
#include "platform/linux/icc_profile_library.hpp"
#include "platform/linux/published_icc_profile.hpp"
#include "platform/linux/shared_x_connection.hpp"

namespace quorvane {
namespace {

constexpr const char* kApplyFailed = "색상 프로파일을 적용하지 못했습니다.";
constexpr const char* kRestoreFailed = "기본/공장 색상 프로파일로 복원하지 못했습니다.";

// One display as the manager needs it: where its profile is published and
// what it is called.
struct ProfileTarget {
    std::string atomName;
    std::string deviceUUID;
    std::optional<Edid> edid;
    std::string name;
};

std::optional<ProfileTarget> findTarget(const SharedXConnection::Lease& lease,
                                        DisplayID displayID) {
    const auto& outputs = lease.activeOutputs();
    for (std::size_t index = 0; index < outputs.size(); ++index) {
        const auto& output = outputs[index];
        if (output.id != displayID) {
            continue;
        }
        auto edid = Edid::parse(output.edid);
        std::string name = edid && edid->monitorName ? *edid->monitorName : output.name;
        return ProfileTarget{publishedProfileAtomName(index),
                             IccColorProfileManager::deviceUUID(output.edid, output.name), edid,
                             name};
    }
    return std::nullopt;
}

// The display as the server shows it now. A display that cannot be found
// (or a server that cannot be reached) has no identity to keep a profile
// under.
ProfileTarget requireTarget(const std::optional<SharedXConnection::Lease>& lease,
                            DisplayID displayID) {
    auto target = lease ? findTarget(*lease, displayID) : std::nullopt;
    if (!target) {
        throw ColorProfileError::displayUUIDUnavailable(displayID);
    }
    return std::move(*target);
}

// The display and the profile bytes published for it, read under one short
// lease.
struct TargetReading {
    ProfileTarget target;
    std::vector<std::uint8_t> published;
};

TargetReading readTarget(SharedXConnection& shared, DisplayID displayID) {
    auto lease = shared.lease();
    auto target = requireTarget(lease, displayID);
    auto published = readPublishedProfile(lease->connection(), target.atomName);
    return {std::move(target), std::move(published)};
}

// Publishes the bytes for the display under a lease of its own, so the
// connection is not held while files are read and written. The display's
// place is looked up again: another output may have come or gone meanwhile.
bool publish(SharedXConnection& shared, DisplayID displayID,
             const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) {
        return false;
    }
    auto lease = shared.lease();
    if (!lease) {
        return false;
    }
    auto target = findTarget(*lease, displayID);
    if (!target) {
        return false;
    }
    auto& connection = lease->connection();
    const auto first = connection.nextRequest();
    XChangeProperty(connection.display(), connection.root(),
                    connection.atom(target->atomName.c_str()), XA_CARDINAL, 8, PropModeReplace,
                    bytes.data(), static_cast<int>(bytes.size()));
    return !connection.syncSince(first);
}

std::uint64_t fnv1a(std::span<const std::uint8_t> bytes, std::uint64_t seed) {
    std::uint64_t hash = seed;
    for (std::uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001B3ULL;
    }
    return hash;
}

}  // namespace

std::string IccColorProfileManager::storageKey() {
    return std::string(kDefaultsDomain) + ".colorProfiles.v1";
}

IccColorProfileManager::IccColorProfileManager(
    std::vector<std::filesystem::path> profileDirectories,
    std::shared_ptr<DefaultsStoring> defaults, std::shared_ptr<SharedXConnection> connection)
    : profileCache_(std::make_unique<IccDisplayProfileCache>(std::move(profileDirectories))),
      defaults_(std::move(defaults)),
      connection_(std::move(connection)) {}

IccColorProfileManager::~IccColorProfileManager() = default;

std::string IccColorProfileManager::deviceUUID(std::span<const std::uint8_t> edid,
                                               const std::string& outputName) {
    std::vector<std::uint8_t> key;
    if (Edid::parse(edid)) {
        const std::string prefix = "edid:";
        key.assign(prefix.begin(), prefix.end());
        key.insert(key.end(), edid.begin(), edid.begin() + Edid::kBlockSize);
    } else {
        const std::string text = "connector:" + outputName;
        key.assign(text.begin(), text.end());
    }
    std::uint64_t high = fnv1a(key, 0xCBF29CE484222325ULL);
    std::uint64_t low = fnv1a(key, 0x84222325CBF29CE4ULL);
    // Mark it as a name-derived (version 8, RFC 9562 variant) UUID.
    high = (high & ~0xF000ULL) | 0x8000ULL;
    low = (low & ~(0xC000ULL << 48)) | (0x8000ULL << 48);
    char text[37];
    std::snprintf(text, sizeof text, "%08X-%04X-%04X-%04X-%012llX",
                  static_cast<unsigned>(high >> 32), static_cast<unsigned>((high >> 16) & 0xFFFF),
                  static_cast<unsigned>(high & 0xFFFF), static_cast<unsigned>(low >> 48),
                  static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFULL));
    return text;
}

std::string IccColorProfileManager::factoryProfileID(const std::string& deviceUUID) {
    return "factory-" + deviceUUID;
}

std::map<std::string, std::string> IccColorProfileManager::loadChoices() const {
    std::map<std::string, std::string> choices;
    auto data = defaults_ ? defaults_->dataForKey(storageKey()) : std::nullopt;
    if (!data) {
        return choices;
    }
    auto object = nlohmann::json::parse(*data, nullptr, false);
    if (!object.is_object()) {
        return choices;
    }
    for (const auto& [uuid, path] : object.items()) {
        if (path.is_string()) {
            choices[uuid] = path.get<std::string>();
        }
    }
    return choices;
}

bool IccColorProfileManager::saveChoices(const std::map<std::string, std::string>& choices) {
    if (!defaults_) {
        return false;
    }
    nlohmann::json object = nlohmann::json::object();
    for (const auto& [uuid, path] : choices) {
        object[uuid] = path;
    }
    return defaults_->setData(storageKey(), object.dump()).succeeded();
}

DisplayColorProfileState IccColorProfileManager::profileState(const DisplaySnapshot& display) {
    auto [target, published] = readTarget(*connection_, display.id);
    auto choices = loadChoices();
    auto chosen = choices.find(target.deviceUUID);

    std::vector<DisplayColorProfile> profiles;
    bool chosenListed = false;
    for (auto& file : profileCache_->profiles()) {
        DisplayColorProfile profile;
        profile.id = file.path.string();
        profile.name = file.description.value_or(file.path.stem().string());
        profile.url = file.path;
        profile.isCurrent = !published.empty() && file.bytes == published;
        profile.isDefault = chosen != choices.end() && chosen->second == profile.id;
        chosenListed = chosenListed || profile.isDefault;
        profiles.push_back(std::move(profile));
    }
    auto factoryBytes = IccProfileLibrary::makeFactoryProfile(target.edid, target.name);
    DisplayColorProfile factory;
    factory.id = factoryProfileID(target.deviceUUID);
    factory.name = target.name;
    factory.isFactory = true;
    factory.isDefault = !chosenListed;
    factory.isCurrent = !published.empty() && factoryBytes == published;
    profiles.push_back(std::move(factory));
    return DisplayColorProfileState::available(display.id, target.deviceUUID, std::move(profiles));
}

void IccColorProfileManager::setDefaultProfile(const DisplayColorProfile& profile,
                                               const DisplaySnapshot& display) {
    if (!profile.url) {
        throw ColorProfileError::profileURLUnavailable(profile.displayName());
    }
    const auto target = requireTarget(connection_->lease(), display.id);
    auto file = IccProfileLibrary::readDisplayProfile(*profile.url);
    if (!file) {
        throw ColorProfileError::writeFailed(kApplyFailed);
    }
    // Remember first, publish second; a refused publish takes the choice back.
    auto choices = loadChoices();
    auto previous = choices;
    choices[target.deviceUUID] = profile.url->string();
    if (!saveChoices(choices)) {
        throw ColorProfileError::writeFailed(kApplyFailed);
    }
    if (!publish(*connection_, display.id, file->bytes)) {
        saveChoices(previous);
        throw ColorProfileError::writeFailed(kApplyFailed);
    }
}

void IccColorProfileManager::restoreFactoryProfile(const DisplaySnapshot& display) {
    const auto target = requireTarget(connection_->lease(), display.id);
    auto choices = loadChoices();
    if (choices.erase(target.deviceUUID) > 0 && !saveChoices(choices)) {
        throw ColorProfileError::writeFailed(kRestoreFailed);
    }
    auto factoryBytes = IccProfileLibrary::makeFactoryProfile(target.edid, target.name);
    if (!publish(*connection_, display.id, factoryBytes)) {
        throw ColorProfileError::writeFailed(kRestoreFailed);
    }
}

}  // namespace quorvane
