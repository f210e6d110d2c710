#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "presentation/shell/popup_placement.hpp"

namespace quorvane {

// Whether a frame stands wholly inside the area.
bool standsInside(ScreenRect frame, ScreenRect area);

// The output a window at `frame` belongs to: the one that shows most of
// it, else (an output that went, a window pushed off every output) the
// nearest; `primary` where two count the same. None without outputs.
std::optional<std::size_t> homeOutput(ScreenRect frame, const std::vector<ScreenRect>& outputs,
                                      std::size_t primary);

// Where the frame of a window opened from another one (the settings window
// from the main window or the panel) goes, in `area`, the work area of the
// output the window opens on: where its user last put it, else centred over
// the window that opened it; moved into the area no further than it must.
ScreenRect openingFrame(FrameSize frame, std::optional<ScreenRect> userPlaced, ScreenRect opener,
                        ScreenRect area);

// Whether the user moved a window the program places on each opening: once
// it closes somewhere other than where it was put, it opens again where it
// was last (on that output), however it is opened.
class UserPlacement {
  public:
    // Where the program put the window's frame as it opened.
    void opened(ScreenRect frame) { opened_ = frame; }
    // Where its frame stood as it closed.
    void closed(ScreenRect frame);
    // The frame the next opening starts from, if its user placed it.
    std::optional<ScreenRect> userPlaced() const { return userPlaced_; }

  private:
    std::optional<ScreenRect> opened_;
    std::optional<ScreenRect> userPlaced_;
};

}  // namespace quorvane
