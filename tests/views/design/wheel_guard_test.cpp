// A slider holding the focus its window handed out on opening has not been
// picked: the wheel over it scrolls the page until the user presses it or
// reaches it with the keyboard, and a window closed and opened again asks
// for a new pick.

#include "views/design/wheel_guard.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QTest>
#include <QVBoxLayout>

#include "views/support/wheel_input.hpp"

namespace quorvane::testing {
namespace {

TEST(WheelGuardTest, FocusFromTheWindowOpeningIsNoPickButAPressOrTabIs) {
    QScrollArea area;
    area.setFocusPolicy(Qt::NoFocus);
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    auto* slider = new QSlider(Qt::Horizontal);  // the page's first control
    slider->setRange(0, 100);
    slider->setValue(50);
    WheelGuard::install(slider);
    column->addWidget(slider);
    column->addWidget(new QPushButton(QStringLiteral("다음")));
    column->addSpacing(2000);
    area.setWidget(page);
    area.setWidgetResizable(true);
    area.resize(300, 200);
    const auto settle = [] { QApplication::processEvents(); };
    const auto open = [&] {
        area.show();
        QApplication::setActiveWindow(&area);  // as the window manager does
        settle();
    };
    // The wheel steps the slider (and the page stays) only once picked.
    const auto wheelSteps = [&] {
        const int before = slider->value();
        const bool scrolled = wheelScrollsPast(slider, settle);
        EXPECT_NE(scrolled, slider->value() != before);
        return slider->value() != before;
    };

    open();
    ASSERT_TRUE(slider->hasFocus());
    EXPECT_FALSE(wheelSteps());

    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() / 2, 2));
    EXPECT_TRUE(wheelSteps());

    area.hide();
    open();
    ASSERT_TRUE(slider->hasFocus());
    EXPECT_FALSE(wheelSteps());

    QTest::keyClick(slider, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    ASSERT_TRUE(slider->hasFocus());
    EXPECT_TRUE(wheelSteps());
}

}  // namespace
}  // namespace quorvane::testing
