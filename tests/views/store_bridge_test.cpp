// The bridge turns the store's change notifications into one Qt signal per
// event-loop turn.

#include "views/store_bridge.hpp"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "platform/simulated/manual_scheduler.hpp"
#include "views/support/simulated_store.hpp"

namespace quorvane {
namespace {

class StoreBridgeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store = std::make_unique<DisplayStore>(testing::simulatedCollaborators(scheduler));
        scheduler->runUntilIdle();
        bridge = std::make_unique<StoreBridge>(*store);
        QObject::connect(bridge.get(), &StoreBridge::storeChanged, [this] { ++signals_; });
    }

    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::unique_ptr<DisplayStore> store;
    std::unique_ptr<StoreBridge> bridge;
    int signals_ = 0;
};

TEST_F(StoreBridgeTest, ABurstOfChangesInOneTurnIsOneSignalOnTheNextTurn) {
    store->setStatusMessage("하나");
    store->setTextSize(QuorvaneTextSize::large);
    store->setAutoApplyEnabled(!store->autoApplyEnabled());
    // Not from inside the store's call: views redraw on the next turn.
    EXPECT_EQ(signals_, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(signals_, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(signals_, 1);
}

TEST_F(StoreBridgeTest, AChangeInALaterTurnSignalsAgain) {
    store->setStatusMessage("하나");
    QCoreApplication::processEvents();
    store->setStatusMessage("둘");
    QCoreApplication::processEvents();
    EXPECT_EQ(signals_, 2);
}

TEST_F(StoreBridgeTest, AGoneBridgeNoLongerHearsTheStore) {
    store->setStatusMessage("하나");
    bridge.reset();
    // Neither the queued signal nor a later change reaches a destroyed bridge.
    QCoreApplication::processEvents();
    store->setStatusMessage("둘");
    QCoreApplication::processEvents();
    EXPECT_EQ(signals_, 0);
}

}  // namespace
}  // namespace quorvane
