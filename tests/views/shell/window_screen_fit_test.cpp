// Where a sheet or dialog goes as it shows, when nothing resizes it in its
// own show handler: over its parent and inside its parent's output.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/shell/window_screen_fit.hpp"

namespace quorvane {
namespace {

TEST(WindowScreenFit, ASheetThatKeepsItsSizeAsItOpensIsCutToItsParentsOutputAndCentredOverIt) {
    const WindowScreenFit fit;
    QWidget parent;
    parent.setGeometry(100, 100, 300, 200);
    parent.show();
    QWidget sheet(&parent, Qt::Dialog);
    sheet.setMinimumSize(200, 100);
    sheet.resize(200, 100);
    sheet.show();
    QApplication::processEvents();
    EXPECT_EQ(sheet.geometry(), QRect(150, 150, 200, 100));
    sheet.hide();

    // Larger than the output: cut to it, its smallest size too.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    sheet.setMinimumSize(area.width() + 200, area.height() + 100);
    sheet.show();
    QApplication::processEvents();
    EXPECT_EQ(sheet.frameGeometry(), area);
    EXPECT_EQ(sheet.minimumSize(), sheet.size());
}

}  // namespace
}  // namespace quorvane
