#pragma once

#include <functional>
#include <map>
#include <vector>

#include "models/color/display_color_profile_state.hpp"
#include "models/display/display_snapshot.hpp"
#include "platform/interfaces/display_snapshot_request.hpp"

namespace quorvane {

// The outcome of one full refresh.
struct DisplayFullRefreshResult {
    // The full read, in the system's display order.
    std::vector<DisplaySnapshot> displays;
    // One state per display ID of `displays`.
    std::map<DisplayID, DisplayColorProfileState> colorProfileStates;

    bool operator==(const DisplayFullRefreshResult&) const = default;
};

// Reads everything about every display off the store's thread.
class DisplayRefreshCollecting {
  public:
    using Completion = std::function<void(DisplayFullRefreshResult)>;

    virtual ~DisplayRefreshCollecting() = default;

    // Runs the read in the background and hands the result to `completion`
    // on the owner's thread. Never fails. The caller decides whether the
    // result is still wanted when it arrives.
    virtual void collectFullRefresh(ScreenNames screenNames, Completion completion) = 0;
};

}  // namespace quorvane
