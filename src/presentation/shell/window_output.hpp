#pragma once

#include <chrono>
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

// The part of a work area (in logical pixels) a window may take at
// `scale` device pixels to a logical one. Qt rounds a window's place, its
// size and the frame around it each to whole device pixels, which at a
// fractional scale can together put a frame a device pixel past an edge:
// one logical pixel kept free at each edge leaves room for that rounding.
// At a whole scale nothing is rounded, and the area stays whole.
ScreenRect wholePixelArea(ScreenRect area, double scale);

// Where the frame of a window opened from another one (the settings window
// from the main window or the panel) goes, in `area`, the work area of the
// output the window opens on: where its user last put it, else centred over
// the window that opened it; moved into the area no further than it must.
ScreenRect openingFrame(FrameSize frame, std::optional<ScreenRect> userPlaced, ScreenRect opener,
                        ScreenRect area);

// Whether the user moved a window, told apart from the program's own
// placing: the program tells every place it gives the window's inside, and
// a window then reported standing elsewhere was put there by its user. A
// frame is never compared: the program may only have guessed the frame the
// window manager gives. A pixel is allowed either way, what a fractional
// scale's rounding may shift a logical place by. And a window manager
// adjusting a window it has just shown (its border, its own rounding) may
// shift it a few device pixels: such a move, reported before its user could
// have seen the window and taken its frame, is the window manager's. Later,
// a move however short is the user's (a window manager tells a drag of the
// frame once the button is let go, so a held button tells nothing).
class UserPlacement {
  public:
    using Moment = std::chrono::steady_clock::time_point;
    // How long after the window system shows a window its user cannot yet
    // have moved it, and how far a window manager's adjustment may shift it.
    static constexpr std::chrono::milliseconds kSettling{1000};
    static constexpr int kWindowManagerNudge = 4;  // device pixels

    // The program put the window's inside at `inside`, for the opening to
    // come when `opening` (where the user moved it in an earlier one stays
    // theirs).
    void placed(ScreenRect inside, bool opening = false);
    // The window shows. Unless the program placed it for this opening, the
    // window manager chooses its place: what is reported before the window
    // system shows it is that choice, never a move of the user's.
    void shown();
    // The window system showed the window at `at`, its inside standing at
    // `standing`. Where the window manager chose the place, that is its
    // choice: Qt may tell it before or after it tells that the window
    // shows, so a first report after is no proof of the window manager's,
    // and a move the user made from there is theirs.
    void mapped(Moment at, ScreenRect standing);
    // The window's inside is reported at `inside`, its frame at `frame`, at
    // `at`, `scale` device pixels to a logical one: true when that is a move
    // the user made.
    bool reported(ScreenRect inside, ScreenRect frame, Moment at = {}, double scale = 1);
    // Whether the window's inside standing at `inside` at `at` stands away
    // from where the program put it: a move, if it truly stands there.
    bool leavesProgramPlace(ScreenRect inside, Moment at = {}, double scale = 1) const;
    // Whether Qt telling the window's inside at `told`, while the X server
    // has it at `standing` (none where it could not say), is a passing place
    // rather than a move: told away from the program's place, which the
    // window never left on the server.
    bool passingPlace(ScreenRect told, std::optional<ScreenRect> standing, Moment at = {},
                      double scale = 1) const;
    // Where its frame stood as it closed: where it opens again, once its
    // user has put it somewhere.
    void closed(ScreenRect frame);
    // Where its frame stood as it last closed, moved or not.
    std::optional<ScreenRect> closedAt() const { return closedAt_; }
    // Where the program put the window's inside for this opening, or last
    // kept it; none where the window manager chooses its place.
    std::optional<ScreenRect> programPlace() const {
        return placedByWindowManager_ ? std::nullopt : placed_;
    }
    // Whether the user moved the window since it last opened.
    bool movedByUser() const { return movedThisOpening_; }
    // The frame the next opening starts from, if its user placed it.
    std::optional<ScreenRect> userPlaced() const { return userPlaced_; }

  private:
    // How far from the program's place a report at `at` still counts as
    // standing there, in logical pixels.
    int tolerance(Moment at, double scale) const;

    std::optional<ScreenRect> placed_;
    Moment mappedAt_;
    std::optional<ScreenRect> userPlaced_;
    std::optional<ScreenRect> closedAt_;
    bool movedThisOpening_ = false;
    bool placedForOpening_ = false;
    bool placedByWindowManager_ = false;
};

}  // namespace quorvane
