#pragma once

#include "models/color/display_color_profile.hpp"
#include "models/color/display_color_profile_state.hpp"
#include "models/display/display_snapshot.hpp"

namespace quorvane {

// A display's colour profiles: listing, choosing the default, and going back
// to the factory profile. Every operation throws ColorProfileError only.
class ColorProfileManaging {
  public:
    virtual ~ColorProfileManaging() = default;

    virtual DisplayColorProfileState profileState(const DisplaySnapshot& display) = 0;
    virtual void setDefaultProfile(const DisplayColorProfile& profile,
                                   const DisplaySnapshot& display) = 0;
    virtual void restoreFactoryProfile(const DisplaySnapshot& display) = 0;
};

}  // namespace quorvane
