#include <gtest/gtest.h>

#include <QDBusVariant>

#include "views/design/system_color_scheme_watcher.hpp"

namespace quorvane {
namespace {

TEST(SystemColorSchemeWatcherTest, PortalAnswersAreUnwrappedFromOneOrTwoVariants) {
    using Watcher = SystemColorSchemeWatcher;
    EXPECT_EQ(Watcher::schemeValue(QVariant(1u)), 1u);
    EXPECT_EQ(Watcher::schemeValue(QVariant::fromValue(QDBusVariant(QVariant(2u)))), 2u);
    const QVariant twice =
        QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(QVariant(1u)))));
    EXPECT_EQ(Watcher::schemeValue(twice), 1u);
    EXPECT_EQ(Watcher::schemeValue(QVariant(QStringLiteral("dark"))), std::nullopt);
    EXPECT_EQ(Watcher::schemeValue(QVariant(QStringLiteral("1"))), std::nullopt);
    EXPECT_EQ(Watcher::schemeValue(QVariant()), std::nullopt);
}

}  // namespace
}  // namespace quorvane

#include <QApplication>
#include <QPalette>
#include <QSignalSpy>

namespace quorvane {
namespace {

TEST(SystemColorSchemeWatcherTest, WithoutAPortalADarkPlatformPaletteMeansDark) {
    const QPalette original = QApplication::palette();
    SystemColorSchemeWatcher watcher;
    ASSERT_EQ(watcher.scheme(), ColorScheme::light);
    QSignalSpy spy(&watcher, &SystemColorSchemeWatcher::schemeChanged);
    QPalette dark = original;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    QApplication::setPalette(dark);
    EXPECT_EQ(watcher.scheme(), ColorScheme::dark);
    EXPECT_EQ(spy.count(), 1);
    QApplication::setPalette(original);
    EXPECT_EQ(watcher.scheme(), ColorScheme::light);
}

}  // namespace
}  // namespace quorvane
