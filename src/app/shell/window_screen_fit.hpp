#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>

#include "presentation/shell/popup_placement.hpp"

class QWidget;

namespace quorvane {

// A Qt rectangle as the placement rules take it.
ScreenRect toScreenRect(const QRect& rect);
// The work area of the screen that holds `point`, else of the nearest one.
ScreenRect workAreaAround(QPoint point);
// The work area of the screen that shows most of `frame`, else of the
// nearest one.
ScreenRect workAreaHolding(ScreenRect frame);

// Keeps every framed top level of the application (windows, dialogs, sheets)
// inside the work area of the screen it is on, its window manager's frame
// included. Watching the whole application:
// - when a window shows, its smallest size and its size are cut to what the
//   work area leaves around the frame (the content scrolls the rest), also
//   when a window later moves to a smaller screen (then its smallest size
//   only, so the user can make it fit);
// - a window manager tells a window's frame only once it has mapped the
//   window: sizes before that count the frame the manager gave the
//   program's other windows, and once the window's own frame is known and
//   differs, the window is fitted again and its frame moved into the work
//   area, no further than it must.
// A window the user moved or sized afterwards is left where they put it,
// until a change of the text size gives it new sizes.
// Popups, menus and tooltips have no frame and are placed by their owners.
class WindowScreenFit : public QObject {
    Q_OBJECT

  public:
    explicit WindowScreenFit(QObject* parent = nullptr);
    ~WindowScreenFit() override;

    // The frame around `window`: its own once the window manager told it,
    // else the one it gave the program's windows before (none without a
    // window manager, and for popups).
    FrameMargins frameMarginsOf(const QWidget* window) const;
    // The work area of the screen `window` is on (or opens on): the one that
    // shows most of it, else the nearest.
    static ScreenRect workAreaOf(const QWidget* window);
    // The window's whole rectangle, its frame (known or expected) around it.
    ScreenRect frameOf(const QWidget* window) const;
    // Whether the window stands wholly inside that work area, frame included.
    bool standsInside(const QWidget* window) const;
    // Fits a shown window again after its owner resized it, its frame moved
    // into the work area.
    void keepInside(QWidget* window);
    // The same for every shown window but those their owners place: after
    // a change of the text size, which gives windows and sheets new sizes.
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
    void fitMinimum(QWidget* window, FrameMargins margins);
    void fitSize(QWidget* window, FrameMargins margins);
    void followScreen(QWidget* window);
    void followOutputs();

    // The last frame a window manager gave one of the program's windows.
    mutable QMargins lastFrame_;
};

}  // namespace quorvane
