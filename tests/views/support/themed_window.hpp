#pragma once

#include <gtest/gtest.h>

#include <QWidget>

#include "views/design/theme.hpp"
#include "views/design/window_control_size.hpp"

namespace quorvane::testing {

// What every window the application opens must carry while it is open: the
// theme's colours, its base font and its control size.
inline void expectThemed(const QWidget* window, const Theme& theme) {
    ASSERT_NE(window, nullptr);
    SCOPED_TRACE(window->metaObject()->className());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->palette().color(QPalette::Window), theme.color(ColorRole::windowBackground));
    EXPECT_EQ(window->palette().color(QPalette::WindowText), theme.color(ColorRole::primary));
    EXPECT_EQ(window->palette().color(QPalette::Button), theme.color(ColorRole::surface));
    EXPECT_DOUBLE_EQ(window->font().pointSizeF(), theme.baseFont().pointSizeF());
    EXPECT_EQ(controlSizeOf(window), theme.controlSize());
}

}  // namespace quorvane::testing
