#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "models/color/color_profile_error.hpp"
#include "platform/interfaces/color_profile_managing.hpp"

namespace quorvane {

// Profiles kept per display in memory. Choosing a profile makes it current
// and default; restoring makes the factory profile current and default.
// Failures can be injected per operation; a display without profiles set
// has no UUID.
class SimulatedColorProfileManager final : public ColorProfileManaging {
  public:
    DisplayColorProfileState profileState(const DisplaySnapshot& display) override;
    void setDefaultProfile(const DisplayColorProfile& profile,
                           const DisplaySnapshot& display) override;
    void restoreFactoryProfile(const DisplaySnapshot& display) override;

    void setProfiles(DisplayID displayID, std::vector<DisplayColorProfile> profiles);
    void setReadFailure(DisplayID displayID, std::optional<ColorProfileError> failure);
    void setWriteFailure(std::optional<ColorProfileError> failure);

    int writeCount() const;

  private:
    std::string uuid(DisplayID displayID) const;

    mutable std::mutex mutex_;
    std::map<DisplayID, std::vector<DisplayColorProfile>> profiles_;
    std::map<DisplayID, ColorProfileError> readFailures_;
    std::optional<ColorProfileError> writeFailure_;
    int writeCount_ = 0;
};

}  // namespace quorvane
