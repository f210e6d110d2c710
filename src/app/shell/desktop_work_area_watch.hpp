#pragma once

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QString>
#include <QTimer>
#include <set>
#include <utility>
#include <vector>

#include "presentation/shell/popup_placement.hpp"

namespace quorvane {

// Tells when the work area of a screen changes while windows are open: a
// dock or panel that comes or goes, a dock's strut that grows or shrinks,
// the window manager's own work area that changes. The X server tells each
// as a change of a property: on the root window the list of the windows the
// window manager manages (a dock mapped or gone) and its work area, on each
// managed window its struts. Those windows are asked to tell this client
// of their property changes, on Qt's own connection, as they come.
//
// A burst of such news (a panel's windows on each output, the window
// manager's answer to them) is looked at once, when the event loop has
// taken in the whole burst: changed() is emitted only when the work area of
// some screen, as desktopWorkArea() reads it, differs from the last look.
// Off X11 it tells nothing.
class DesktopWorkAreaWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

  public:
    explicit DesktopWorkAreaWatch(QObject* parent = nullptr);
    ~DesktopWorkAreaWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  signals:
    void changed();

  private:
    using ScreenAreas = std::vector<std::pair<QString, ScreenRect>>;

    bool tellsOfWorkArea(const xcb_generic_event_t* event);
    void watchManagedWindows();
    void lookAgain();
    static ScreenAreas screenAreas();

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    xcb_atom_t clientList_ = 0;
    xcb_atom_t workArea_ = 0;
    xcb_atom_t strutPartial_ = 0;
    xcb_atom_t strut_ = 0;
    // The managed windows whose property changes this client hears.
    std::set<xcb_window_t> watched_;
    bool clientsChanged_ = false;
    ScreenAreas areas_;
    QTimer look_;
};

}  // namespace quorvane
