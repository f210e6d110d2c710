// The widget tests need one QApplication for the whole program; it is made
// before the first test and ends after the last one.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class QtApplicationEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override {
        if (QApplication::instance() == nullptr)
            application_ = std::make_unique<QApplication>(argc_, argv_);
    }
    // Before the program's exit handlers: Qt must not outlive its plugins.
    void TearDown() override { application_.reset(); }

  private:
    int argc_ = 1;
    char name_[16] = "test_views";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
