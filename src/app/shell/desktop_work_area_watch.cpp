#include "app/shell/desktop_work_area_watch.hpp"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <array>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <utility>

#include "app/shell/desktop_work_area.hpp"

// After Qt's headers: Xlib's macros (Status, Bool) break them.
#include <X11/Xlib.h>

namespace quorvane {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

const QNativeInterface::QX11Application* qtX11() {
    return qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
}

// The atoms of these names, asked for together.
template <std::size_t N>
std::array<xcb_atom_t, N> atomsNamed(xcb_connection_t* connection,
                                     const std::array<std::string_view, N>& names) {
    std::array<xcb_intern_atom_cookie_t, N> cookies{};
    for (std::size_t index = 0; index < N; ++index)
        cookies[index] = xcb_intern_atom(connection, 0, static_cast<uint16_t>(names[index].size()),
                                         names[index].data());
    std::array<xcb_atom_t, N> atoms{};
    for (std::size_t index = 0; index < N; ++index) {
        xcb_generic_error_t* error = nullptr;
        const Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection, cookies[index], &error));
        std::free(error);
        atoms[index] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    return atoms;
}

// Has the server tell this client of the windows' property changes, on top
// of whatever else it hears of them (Qt hears its own windows and the root
// window for its own ends). A window gone meanwhile is no error.
void hearPropertyChanges(xcb_connection_t* connection, const std::vector<xcb_window_t>& windows) {
    std::vector<xcb_get_window_attributes_cookie_t> cookies;
    cookies.reserve(windows.size());
    for (const xcb_window_t window : windows)
        cookies.push_back(xcb_get_window_attributes(connection, window));
    for (std::size_t index = 0; index < windows.size(); ++index) {
        xcb_generic_error_t* error = nullptr;
        const Reply<xcb_get_window_attributes_reply_t> reply(
            xcb_get_window_attributes_reply(connection, cookies[index], &error));
        std::free(error);
        if (!reply || (reply->your_event_mask & XCB_EVENT_MASK_PROPERTY_CHANGE) != 0)
            continue;
        const uint32_t mask = reply->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_discard_reply(connection, xcb_change_window_attributes_checked(
                                          connection, windows[index], XCB_CW_EVENT_MASK, &mask)
                                          .sequence);
    }
    xcb_flush(connection);
}

// The windows the window manager manages, docks among them; none without
// a window manager.
std::vector<xcb_window_t> managedWindows(xcb_connection_t* connection, xcb_window_t root,
                                         xcb_atom_t clientList) {
    xcb_generic_error_t* error = nullptr;
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, clientList, XCB_ATOM_WINDOW, 0, 4096),
        &error));
    std::free(error);
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_WINDOW)
        return {};
    const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
    const auto count = static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4;
    return {windows, windows + count};
}

}  // namespace

DesktopWorkAreaWatch::DesktopWorkAreaWatch(QObject* parent) : QObject(parent) {
    look_.setSingleShot(true);
    look_.setInterval(0);
    connect(&look_, &QTimer::timeout, this, &DesktopWorkAreaWatch::lookAgain);
    const auto* x11 = qtX11();
    if (!x11 || !x11->connection() || !x11->display() ||
        xcb_connection_has_error(x11->connection()))
        return;
    connection_ = x11->connection();
    root_ = static_cast<xcb_window_t>(DefaultRootWindow(x11->display()));
    const auto atoms = atomsNamed<4>(connection_, {"_NET_CLIENT_LIST", "_NET_WORKAREA",
                                                   "_NET_WM_STRUT_PARTIAL", "_NET_WM_STRUT"});
    clientList_ = atoms[0];
    workArea_ = atoms[1];
    strutPartial_ = atoms[2];
    strut_ = atoms[3];
    hearPropertyChanges(connection_, {root_});
    watchManagedWindows();
    areas_ = screenAreas();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

DesktopWorkAreaWatch::~DesktopWorkAreaWatch() = default;

bool DesktopWorkAreaWatch::nativeEventFilter(const QByteArray& eventType, void* message,
                                             qintptr* /*result*/) {
    if (!connection_ || !message || eventType != "xcb_generic_event_t")
        return false;
    if (tellsOfWorkArea(static_cast<const xcb_generic_event_t*>(message)) && !look_.isActive())
        look_.start();
    // Qt goes on to handle every event as ever.
    return false;
}

bool DesktopWorkAreaWatch::tellsOfWorkArea(const xcb_generic_event_t* event) {
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto* notice = reinterpret_cast<const xcb_property_notify_event_t*>(event);
    if (notice->window == root_ && notice->atom == clientList_) {
        clientsChanged_ = true;
        return true;
    }
    if (notice->window == root_)
        return notice->atom == workArea_;
    return notice->atom == strutPartial_ || notice->atom == strut_;
}

// Every managed window is heard from the moment it is in the list: a strut
// set after that is told, one set before is read at the next look.
void DesktopWorkAreaWatch::watchManagedWindows() {
    const auto windows = managedWindows(connection_, root_, clientList_);
    std::vector<xcb_window_t> added;
    for (const xcb_window_t window : windows)
        if (!watched_.contains(window))
            added.push_back(window);
    hearPropertyChanges(connection_, added);
    watched_ = {windows.begin(), windows.end()};
}

void DesktopWorkAreaWatch::lookAgain() {
    if (!connection_ || xcb_connection_has_error(connection_))
        return;
    if (std::exchange(clientsChanged_, false))
        watchManagedWindows();
    auto now = screenAreas();
    if (now == areas_)
        return;
    areas_ = std::move(now);
    emit changed();
}

DesktopWorkAreaWatch::ScreenAreas DesktopWorkAreaWatch::screenAreas() {
    ScreenAreas areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.emplace_back(screen->name(), desktopWorkArea(screen));
    return areas;
}

}  // namespace quorvane
