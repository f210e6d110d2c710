#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/interfaces/color_profile_managing.hpp"
#include "platform/interfaces/defaults_storing.hpp"

namespace quorvane {

class IccDisplayProfileCache;
class SharedXConnection;

// Colour profiles of X outputs, following the ICC-in-X convention that
// colour-managed programs read: the profile in use for the n-th active
// output is published on the root window as "_ICC_PROFILE" (n = 0) or
// "_ICC_PROFILE_n".
//
// A display's profiles are the RGB display profiles in the shared ICC
// directories plus its factory profile, made from the monitor's EDID (sRGB
// without one). The profile whose bytes are published is current; the
// user's chosen profile is the default, remembered per display in the user
// defaults, and without a choice the factory profile is the default.
// Restoring the factory profile forgets the choice and publishes the
// factory profile.
//
// The display's device UUID is derived from its EDID base block (from its
// connector name when it has no valid EDID), so the same monitor keeps its
// key across sessions. The server is reached through the process's kept
// connection, held only while the outputs are read or a profile published.
class IccColorProfileManager final : public ColorProfileManaging {
  public:
    // The per-display choices: device UUID to profile file, as a JSON object.
    static std::string storageKey();

    IccColorProfileManager(std::vector<std::filesystem::path> profileDirectories,
                           std::shared_ptr<DefaultsStoring> defaults,
                           std::shared_ptr<SharedXConnection> connection);
    ~IccColorProfileManager() override;

    DisplayColorProfileState profileState(const DisplaySnapshot& display) override;
    void setDefaultProfile(const DisplayColorProfile& profile,
                           const DisplaySnapshot& display) override;
    void restoreFactoryProfile(const DisplaySnapshot& display) override;

    // A stable UUID text ("8-4-4-4-12", upper-case hex) for an output: from
    // its EDID base block when valid, else from its connector name.
    static std::string deviceUUID(std::span<const std::uint8_t> edid,
                                  const std::string& outputName);
    static std::string factoryProfileID(const std::string& deviceUUID);

  private:
    std::map<std::string, std::string> loadChoices() const;
    bool saveChoices(const std::map<std::string, std::string>& choices);

    std::unique_ptr<IccDisplayProfileCache> profileCache_;
    std::shared_ptr<DefaultsStoring> defaults_;
    std::shared_ptr<SharedXConnection> connection_;
};

}  // namespace quorvane
