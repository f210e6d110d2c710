#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace quorvane::testing {

// Closes the widget tests' Qt application when the test program ends, so Qt
// frees its font caches before the leak check runs.
class WidgetTestApplicationEnvironment : public ::testing::Environment {
  public:
    explicit WidgetTestApplicationEnvironment(std::unique_ptr<QApplication> application)
        : application_(std::move(application)) {}
    void TearDown() override { application_.reset(); }

  private:
    std::unique_ptr<QApplication> application_;
};

// The one Qt application of the widget tests, made on first use (the tests
// run on the offscreen platform).
inline QApplication& widgetTestApplication() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    static int argc = 1;
    static char name[] = "test_views";
    static char* argv[] = {name, nullptr};
    auto application = std::make_unique<QApplication>(argc, argv);
    QApplication& result = *application;
    ::testing::AddGlobalTestEnvironment(
        new WidgetTestApplicationEnvironment(std::move(application)));
    return result;
}

}  // namespace quorvane::testing
