// The widget and shell tests share one Qt application object, created before
// any test runs (offscreen unless the environment chose a platform), with the
// application's own style and accessible interface, and the keyboard going
// through every window as it does in the application.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "views/design/accessible_role.hpp"
#include "views/design/application_accessible.hpp"
#include "views/design/application_style.hpp"
#include "views/design/keyboard_path_follower.hpp"

int main(int argc, char** argv) {
#ifdef QUORVANE_WIDGETS_ON_TEST_DISPLAY
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
