// The store as the application wires it, every collaborator the real Linux
// conformer, started against the private X server: the start-up read finds
// the outputs, the emergency key is grabbed on the server and a colour change
// is written and saved in the given defaults folder.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "app/composition/linux_display_store_factory.hpp"
#include "platform/linux/gamma_controller.hpp"
#include "platform/linux/thread_scheduler.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

class LinuxDisplayStoreFactoryTest : public testing::XServerTest {
  protected:
    void SetUp() override {
        XServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        std::string pattern = (fs::temp_directory_path() / "quorvane-factory-XXXXXX").string();
        folder = mkdtemp(pattern.data());
    }

    void TearDown() override {
        store.reset();
        if (connection)
            resetRampsToIdentity();
        if (!folder.empty())
            fs::remove_all(folder);
    }

    fs::path folder;
    std::unique_ptr<DisplayStore> store;
};

TEST_F(LinuxDisplayStoreFactoryTest, TheStoreStartsOnTheServerWithItsRecordsInTheFolder) {
    auto scheduler = std::make_shared<ThreadScheduler>();
    // No shared ICC folder: each output offers its factory profile only.
    store = LinuxDisplayStoreFactory::make({scheduler, displayName, folder, {folder / "icc"}});

    // The quick list is there at once; modes and profiles follow.
    ASSERT_EQ(store->displays().size(), 3u);
    ASSERT_TRUE(scheduler->runUntil([&] { return store->colorProfileStates().size() == 3; },
                                    std::chrono::seconds(30)));
    EXPECT_FALSE(store->displays().front().modes.empty());
    EXPECT_EQ(store->emergencyRecoveryHotKeyRegistrationSummary().registeredCount, 1);

    const auto target = output("DUMMY1");
    ASSERT_TRUE(target);
    const auto displayID = static_cast<DisplayID>(target->id);
    store->updateColorAdjustment(displayID, [](ColorAdjustment& value) { value.warmth = 0.8; });
    ASSERT_EQ(store->statusMessage(), "색상 조정 적용됨");
    // The records are written in the background; closing the store waits
    // for them, as quitting the application does.
    store.reset();
    EXPECT_TRUE(fs::exists(folder / "org.quorvane.Quorvane.preferences.v1.json"));
    EXPECT_TRUE(fs::exists(folder / "org.quorvane.Quorvane.recoveryJournal.v1.json"));
}

}  // namespace
}  // namespace quorvane
