#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/simulated/manual_scheduler.hpp"
#include "services/persistence/quorvane_destructive_confirmation_coordinator.hpp"

namespace quorvane {
namespace {

using Kind = QuorvaneDestructiveActionKind;
using Style = QuorvaneDestructiveConfirmationStyle;

TEST(DestructiveConfirmationCopy, TargetNameIsTrimmedAndDefaulted) {
    EXPECT_EQ(confirmationCopy(Kind::deleteScene, std::nullopt).title,
              "\u2018선택한 항목\u2019 작업 모드를 삭제할까요?");
    EXPECT_EQ(confirmationCopy(Kind::deleteDisplayGroup, " \n\t ").title,
              "\u2018선택한 항목\u2019 모니터 묶음을 삭제할까요?");
    EXPECT_EQ(confirmationCopy(Kind::deleteStoredAdjustment, "  DELL U2720Q \n").title,
              "\u2018DELL U2720Q\u2019의 저장 색상값을 삭제할까요?");
}

TEST(DestructiveConfirmationCopy, GlobalKindsIgnoreTheName) {
    for (Kind kind :
         {Kind::restoreOutputColorCorrection, Kind::runEmergencyRecovery, Kind::resetAllSettings}) {
        EXPECT_EQ(confirmationCopy(kind, "Studio"), confirmationCopy(kind, std::nullopt));
    }
    // Every kind has all three texts and no other platform's names.
    for (Kind kind : kAllDestructiveActionKinds) {
        const auto copy = confirmationCopy(kind, "x");
        EXPECT_FALSE(copy.title.empty() || copy.confirmButtonTitle.empty() || copy.message.empty());
        EXPECT_EQ(copy.message.find("macOS"), std::string::npos);
        EXPECT_EQ(copy.message.find("ColorSync"), std::string::npos);
    }
}

class ConfirmationCoordinatorTest : public ::testing::Test {
  protected:
    ManualScheduler scheduler;
    QuorvaneDestructiveConfirmationCoordinator coordinator{scheduler};
    std::vector<std::string> events;

    void SetUp() override {
        coordinator.setChangeHandler([this] {
            events.push_back(std::string(coordinator.pending() ? "pending" : "idle") +
                             (coordinator.confirmationPresented() ? "+shown" : ""));
        });
    }
};

TEST_F(ConfirmationCoordinatorTest, SecondRequestIsDroppedWhileOneIsPending) {
    int first = 0;
    int second = 0;
    coordinator.request(Kind::deletePreset, "A", Style::destructive, [&] { ++first; });
    const std::string id = coordinator.pending()->id;
    coordinator.request(Kind::deleteScene, "B", Style::standard, [&] { ++second; });

    ASSERT_TRUE(coordinator.pending());
    EXPECT_EQ(coordinator.pending()->id, id);
    EXPECT_EQ(coordinator.pending()->style, Style::destructive);
    EXPECT_EQ(coordinator.pending()->copy, confirmationCopy(Kind::deletePreset, "A"));
    coordinator.confirmPending();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"pending+shown", "idle"}));
}

TEST_F(ConfirmationCoordinatorTest, ConfirmReturnsToIdleBeforeTheActionRunsOnce) {
    coordinator.confirmPending();  // nothing pending: nothing happens
    EXPECT_TRUE(events.empty());

    int runs = 0;
    coordinator.request(Kind::resetAllSettings, std::nullopt, Style::destructive, [&] {
        ++runs;
        EXPECT_FALSE(coordinator.pending());
        EXPECT_FALSE(coordinator.confirmationPresented());
    });
    coordinator.confirmPending();
    coordinator.confirmPending();
    EXPECT_EQ(runs, 1);

    // The dialog closing afterwards finds nothing to clear.
    coordinator.setConfirmationPresented(false);
    scheduler.runUntilIdle();
    EXPECT_FALSE(coordinator.pending());
}

TEST_F(ConfirmationCoordinatorTest, CancelClearsAtOnceAndNeverRunsTheAction) {
    int runs = 0;
    coordinator.request(Kind::deletePreset, "A", Style::destructive, [&] { ++runs; });
    coordinator.cancelPending();
    EXPECT_FALSE(coordinator.pending());
    EXPECT_FALSE(coordinator.confirmationPresented());
    // The next request is taken at once, without waiting for a deferred clear.
    coordinator.request(Kind::deleteScene, "B", Style::standard, [] {});
    EXPECT_TRUE(coordinator.pending());
    coordinator.confirmPending();
    scheduler.runUntilIdle();
    EXPECT_EQ(runs, 0);
}

TEST_F(ConfirmationCoordinatorTest, DismissalClearsOneTurnLaterUnlessShownAgain) {
    coordinator.request(Kind::deleteScene, "S", Style::destructive, [] {});
    coordinator.setConfirmationPresented(false);
    EXPECT_FALSE(coordinator.confirmationPresented());
    EXPECT_TRUE(coordinator.pending());  // not yet
    scheduler.runUntilIdle();
    EXPECT_FALSE(coordinator.pending());

    coordinator.request(Kind::deleteScene, "S", Style::destructive, [] {});
    coordinator.setConfirmationPresented(false);
    coordinator.setConfirmationPresented(true);
    scheduler.runUntilIdle();
    EXPECT_TRUE(coordinator.pending());
    EXPECT_TRUE(coordinator.confirmationPresented());
}

TEST(ConfirmationCoordinator, DeferredClearingOutlivesTheCoordinator) {
    ManualScheduler scheduler;
    int notified = 0;
    {
        QuorvaneDestructiveConfirmationCoordinator coordinator(scheduler);
        coordinator.setChangeHandler([&] { ++notified; });
        coordinator.request(Kind::deletePreset, "P", Style::destructive, [] {});
        coordinator.setConfirmationPresented(false);
    }
    const int before = notified;
    scheduler.runUntilIdle();  // runs on the detached state without calling back
    EXPECT_EQ(notified, before);
}

}  // namespace
}  // namespace quorvane
