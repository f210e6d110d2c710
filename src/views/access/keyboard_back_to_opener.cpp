#include "views/access/keyboard_back_to_opener.hpp"

#include <xcb/xcb.h>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <optional>

#include "presentation/design/closed_dialog.hpp"

namespace quorvane {

namespace {

template <typename Reply>
using ReplyOf = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyOf<Reply> owned(Reply* reply) {
    return ReplyOf<Reply>(reply, &std::free);
}

xcb_atom_t atomNamed(xcb_connection_t* connection, xcb_intern_atom_cookie_t cookie) {
    const auto reply = owned(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The one window a property of `window` names, or none.
xcb_window_t windowNamedBy(xcb_connection_t* connection, xcb_get_property_cookie_t cookie) {
    const auto reply = owned(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->type != XCB_ATOM_WINDOW || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) < 4)
        return XCB_WINDOW_NONE;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
}

xcb_get_property_cookie_t askWindowProperty(xcb_connection_t* connection, xcb_window_t window,
                                            xcb_atom_t property) {
    return xcb_get_property(connection, 0, window, property, XCB_ATOM_WINDOW, 0, 1);
}

// Where the X server has the keyboard now: the window holding its input
// focus, and the window the window manager calls active (none without a
// window manager that says, one whose check window names itself).
struct KeyboardOnTheServer {
    xcb_window_t focus = XCB_WINDOW_NONE;
    xcb_window_t active = XCB_WINDOW_NONE;
};

std::optional<KeyboardOnTheServer> keyboardOnTheServer(const QWidget& near) {
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || xcb_connection_has_error(connection) || !near.internalWinId())
        return std::nullopt;
    const auto focusCookie = xcb_get_input_focus(connection);
    const auto activeCookie = xcb_intern_atom(connection, 0, 18, "_NET_ACTIVE_WINDOW");
    const auto checkCookie = xcb_intern_atom(connection, 0, 24, "_NET_SUPPORTING_WM_CHECK");
    const auto tree = owned(xcb_query_tree_reply(
        connection, xcb_query_tree(connection, static_cast<xcb_window_t>(near.internalWinId())),
        nullptr));
    const auto focus = owned(xcb_get_input_focus_reply(connection, focusCookie, nullptr));
    const xcb_atom_t active = atomNamed(connection, activeCookie);
    const xcb_atom_t check = atomNamed(connection, checkCookie);
    if (!tree || !focus)
        return std::nullopt;
    KeyboardOnTheServer found;
    // None, the pointer's window (PointerRoot) or the root: no window has it.
    if (focus->focus > XCB_INPUT_FOCUS_POINTER_ROOT && focus->focus != tree->root)
        found.focus = focus->focus;
    if (active == XCB_ATOM_NONE || check == XCB_ATOM_NONE)
        return found;
    const auto activeNamed = askWindowProperty(connection, tree->root, active);
    const xcb_window_t manager =
        windowNamedBy(connection, askWindowProperty(connection, tree->root, check));
    const xcb_window_t named = windowNamedBy(connection, activeNamed);
    // A window manager that ended may leave its words on the root window;
    // the one running names its own check window there and on it.
    if (manager != XCB_WINDOW_NONE &&
        windowNamedBy(connection, askWindowProperty(connection, manager, check)) == manager)
        found.active = named;
    return found;
}

KeyboardHolder holderOf(const QWidget* window, const QDialog& dialog, const QWidget* opener) {
    if (!window)
        return KeyboardHolder::elsewhere;
    if (window == &dialog)
        return KeyboardHolder::closedDialog;
    if (window == opener)
        return KeyboardHolder::opener;
    return window->isVisible() ? KeyboardHolder::otherWindow : KeyboardHolder::elsewhere;
}

// The closed dialog as Qt knew it: its own window on the X server, which
// Qt may have destroyed by the time the dialog says it has finished.
struct ClosedDialog {
    const QDialog& dialog;
    WId id = 0;
};

// Which of the program's windows `id` is, if any.
std::optional<KeyboardHolder> ownWindow(xcb_window_t id, const ClosedDialog& closed,
                                        const QWidget* opener) {
    const QDialog& dialog = closed.dialog;
    if (id == XCB_WINDOW_NONE)
        return std::nullopt;
    if (id == closed.id)
        return KeyboardHolder::closedDialog;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->internalWinId() == id)
            return holderOf(window, dialog, opener);
    }
    return std::nullopt;
}

// The X server's word, as the program's windows go. The input focus is
// moved by the server itself; the window manager's word may lag behind it
// (naming none for a moment as a window goes), and names the window the
// keyboard is for where the manager holds the focus on its frame.
std::optional<KeyboardHolder> serverSays(const ClosedDialog& closed, const QWidget* opener) {
    const auto keyboard = keyboardOnTheServer(*opener);
    if (!keyboard)
        return std::nullopt;
    if (keyboard->focus != XCB_WINDOW_NONE) {
        if (const auto own = ownWindow(keyboard->focus, closed, opener))
            return own;
        return ownWindow(keyboard->active, closed, opener).value_or(KeyboardHolder::elsewhere);
    }
    if (keyboard->active != XCB_WINDOW_NONE)
        return ownWindow(keyboard->active, closed, opener).value_or(KeyboardHolder::elsewhere);
    return std::nullopt;
}

// Whether the dialog held the keyboard as far as the toolkit last heard
// before it began to close (Qt may count a window that hides as no longer
// active, or still active, before the dialog says it has finished), and its
// window on the X server.
class DialogKeyboardWatch : public QObject {
  public:
    explicit DialogKeyboardWatch(QDialog& dialog) : QObject(&dialog), dialog_(dialog) {
        dialog.installEventFilter(this);
    }

    bool held() const { return held_; }
    WId id() const { return id_; }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &dialog_ && dialog_.internalWinId())
            id_ = dialog_.internalWinId();
        if (watched == &dialog_ && !dialog_.isHidden()) {
            if (event->type() == QEvent::WindowActivate)
                held_ = true;
            if (event->type() == QEvent::WindowDeactivate)
                held_ = false;
        }
        return false;
    }

  private:
    QDialog& dialog_;
    bool held_ = false;
    WId id_ = 0;
};

}  // namespace

void handKeyboardBackOnClose(QDialog& dialog) {
    auto* watch = new DialogKeyboardWatch(dialog);
    QObject::connect(&dialog, &QDialog::finished, &dialog, [&dialog, watch] {
        if (!dialog.parentWidget())
            return;
        QWidget* opener = dialog.parentWidget()->window();
        const KeyboardHolder toolkitSays =
            watch->held() ? KeyboardHolder::closedDialog
                          : holderOf(QApplication::activeWindow(), dialog, opener);
        const KeyboardHolder holder =
            keyboardHolderAtClose(serverSays({dialog, watch->id()}, opener), toolkitSays);
        if (openerAsksForTheKeyboard(opener->isVisible(), holder))
            opener->activateWindow();
    });
}

}  // namespace quorvane
