#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <map>
#include <optional>

#include "presentation/shell/popup_placement.hpp"
#include "presentation/shell/window_output.hpp"

class QWidget;
class QWindow;

namespace quorvane {

// A Qt rectangle as the placement rules take it.
ScreenRect toScreenRect(const QRect& rect);
// The work area of the screen that holds `point`, else of the nearest one.
ScreenRect workAreaAround(QPoint point);
// The work area of the screen that shows most of `frame`, else of the
// nearest one.
ScreenRect workAreaHolding(ScreenRect frame);

// The one owner of where the application's framed top levels (windows,
// dialogs, sheets) go and how large they are, their window manager's frame
// included. Watching the whole application:
// - a window is sized for the work area of the output it opens on before
//   it shows there: its smallest size and its size are cut to what that
//   area leaves around the frame (the content scrolls the rest); a sheet,
//   dialog or prompt opens on its parent's output, centred over its parent;
//   a window its user moves to another output gets that output's smallest
//   size, so the user can make it fit;
// - a window manager tells a window's frame only once it has mapped the
//   window: sizes before that count the frame it gave the program's windows
//   of the same kind, and once the window's own frame is known and differs,
//   the window is fitted again and its frame moved into the work area, no
//   further than it must;
// - a place is the user's only when the user moved the window there: the
//   program tells each place it gives a window, and a window reported
//   elsewhere was moved by its user. Once moved, a frame told late is no
//   reason to place it again.
// Popups, menus and tooltips have no frame and are placed by their owners.
class WindowScreenFit : public QObject {
    Q_OBJECT

  public:
    explicit WindowScreenFit(QObject* parent = nullptr);
    ~WindowScreenFit() override;

    // The frame around `window`: its own once the window manager told it,
    // else the one it last gave a window of the same kind (a window, a
    // dialog, resizable or not), else any (none without a window manager,
    // and for popups).
    FrameMargins frameMarginsOf(const QWidget* window) const;
    // The work area of the screen `window` is on (or opens on): the one that
    // shows most of it, else the nearest.
    static ScreenRect workAreaOf(const QWidget* window);
    // The window's whole rectangle, its frame (known or expected) around it.
    ScreenRect frameOf(const QWidget* window) const;
    // Whether the window stands wholly inside that work area, frame included.
    bool standsInside(const QWidget* window) const;
    // Sets the window's smallest size and its size (`inside`, else its own)
    // for the work area `area`, its frame counted: before it shows there.
    void fitTo(QWidget* window, ScreenRect area, std::optional<FrameSize> inside = std::nullopt);
    // Puts the window's frame at `frame` (its size as the window's own with
    // its frame): the program's place, which no later report takes for a
    // move of the user's.
    void place(QWidget* window, ScreenRect frame);
    // Where the user last left the window, once they have moved it.
    std::optional<ScreenRect> userPlaced(const QWidget* window) const;
    // Where the window's frame stood as it last closed, moved or not.
    std::optional<ScreenRect> closedAt(const QWidget* window) const;
    // Whether its user moved the window since it last opened.
    bool movedByUser(const QWidget* window) const;
    // Fits a shown window again after its owner resized it, its frame moved
    // into the work area.
    void keepInside(QWidget* window);
    // The same for every shown window but those their owners place (after
    // a change of the text size, which gives windows and sheets new sizes,
    // or of the outputs): windows first, then the sheets and dialogs over
    // them, each kept on its parent's output.
    void keepAllInside();
    // A window its owner places (next to what opened it): once its frame is
    // known, frameKnown() tells the owner, who fits and places it again.
    // While the window manager maps a window again, Qt may report a passing
    // place for it, so only the owner knows where it belongs.
    static void leavePlacingToOwner(QWidget* window);

  signals:
    void frameKnown(QWidget* window);
    // An output went, came or changed its mode, or a dock came, went or
    // changed its strut: a window may no longer stand inside a work area.
    void outputsChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fitMinimum(QWidget* window, FrameMargins margins, ScreenRect area);
    static void keepMinimumReachable(QWidget* window);
    void fitSize(QWidget* window, FrameMargins margins, ScreenRect area);
    void placeOverParent(QWidget* window);
    void followMove(QWidget* window);
    bool passingPlace(QWidget* window, const UserPlacement& placement, ScreenRect told,
                      UserPlacement::Moment now);
    void followFrame(QWidget* window);
    void followExpose(QWindow* handle);
    void followOwnerMinimum(QWidget* window);
    void followOutputs();
    UserPlacement& placementOf(QWidget* window);

    // The last frame a window manager gave one of the program's windows,
    // by kind, and of any kind.
    mutable std::map<int, QMargins> lastFrames_;
    mutable QMargins lastFrame_;
    std::map<const QObject*, UserPlacement> placements_;
    // A sheet being placed over its parent (which resizes it).
    bool placingSheet_ = false;
    // A window's show being handled: its place is for the opening to come.
    bool showing_ = false;
};

}  // namespace quorvane
