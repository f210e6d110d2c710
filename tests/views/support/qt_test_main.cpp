// The widget and shell tests share one Qt application object, created before
// any test runs (offscreen unless the environment chose a platform), with the
// application's own style and accessible interface, and the keyboard going
// through every window as it does in the application.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "views/access/accessible_role.hpp"
#include "views/access/application_accessible.hpp"
#include "views/access/keyboard_path_follower.hpp"
#include "views/design/application_style.hpp"

#ifdef QUORVANE_WIDGETS_ON_TEST_DISPLAY
#include "support/mount_rights.hpp"
#endif

int main(int argc, char** argv) {
#ifdef QUORVANE_WIDGETS_ON_TEST_DISPLAY
    // The dialogs' cases on a FUSE mount mount it as whichever user runs
    // them, which an ordinary user does in a user namespace of its own; the
    // kernel gives one only to a process that runs no other thread yet, and
    // Qt starts threads as the application is made. Taken now, it is held
    // for the cases that mount; a refusal is told again by the case that
    // asks, which then skips.
    (void)quorvane::testing::MountRights::gain();
    // Widgets shown on the private X server when there is one (else the
    // tests skip themselves), with accessibility on as under a screen
    // reader; no session bus, which libdbus would otherwise start through
    // the server and could wait on.
    if (const char* display = std::getenv("QUORVANE_TEST_DISPLAY"); display && *display) {
        qputenv("DISPLAY", display);
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quorvane-no-bus");
    }
#endif
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    quorvane::installApplicationAccessible();
    QApplication application(argc, argv);
    quorvane::installWidgetAccessible();
    QApplication::setStyle(new quorvane::ApplicationStyle);
    quorvane::KeyboardPathFollower keyboardPath;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
