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
