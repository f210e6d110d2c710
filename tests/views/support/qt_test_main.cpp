// The widget and shell tests share one Qt application object, created before
// any test runs (offscreen unless the environment chose a platform), with the
// application's own style and accessible interface, and the keyboard going
// through every window as it does in the application.
#include <gtest/gtest.h>

#include <QApplication>

#include "views/design/accessible_role.hpp"
#include "views/design/application_accessible.hpp"
#include "views/design/application_style.hpp"
#include "views/design/keyboard_path_follower.hpp"

int main(int argc, char** argv) {
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
