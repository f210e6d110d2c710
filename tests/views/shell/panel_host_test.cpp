// The tray popup and the application's focus: Qt tells of a loss of focus a
// moment after it happened, so the loss that came with closing the panel can
// arrive after a quick click on the icon opened it again. Such a loss leaves
// the reopened panel open; a loss of its own opening, a click outside and
// Escape still close it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QTest>
#include <QWindow>

#include "app/shell/panel_host.hpp"

namespace quorvane {
namespace {

class PanelHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.resize(300, 400);
        ASSERT_TRUE(host.isPopupForm());
    }
    void TearDown() override { host.hide(); }

    void open() {
        host.show();
        host.activateWindow();
        QApplication::processEvents();
    }
    // What Qt does when the application loses the focus.
    static void loseFocus() {
        QEvent lost(QEvent::ApplicationDeactivate);
        QCoreApplication::sendEvent(qApp, &lost);
        QApplication::processEvents();
    }

    PanelHost host;
};

TEST_F(PanelHostTest, ALossOfFocusReportedBeforeTheReopenedPanelHadTheFocusLeavesItOpen) {
    open();
    ASSERT_EQ(QGuiApplication::focusWindow(), host.windowHandle());
    QTest::keyClick(&host, Qt::Key_Escape);
    ASSERT_FALSE(host.isVisible());

    // Opened again at once: Qt still counts the focus as the first opening's
    // and tells of its loss only now.
    open();
    loseFocus();
    EXPECT_TRUE(host.isVisible());

    // The user's own ways out still work.
    QTest::mouseClick(&host, Qt::LeftButton, {}, QPoint(-40, 100));
    EXPECT_FALSE(host.isVisible());
    open();
    loseFocus();
    QTest::keyClick(&host, Qt::Key_Escape);
    EXPECT_FALSE(host.isVisible());
}

TEST_F(PanelHostTest, ALossOfFocusTheOpeningHadClosesThePanel) {
    open();
    ASSERT_EQ(QGuiApplication::focusWindow(), host.windowHandle());
    loseFocus();
    EXPECT_FALSE(host.isVisible());
}

}  // namespace
}  // namespace quorvane
