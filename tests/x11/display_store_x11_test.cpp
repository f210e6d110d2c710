// A colour change taken through the whole store onto the gamma ramps of the
// private X server: the store's own start-up refresh finds the outputs, its
// colour road writes the tables, and the CRTC reads back what was meant.

#include <gtest/gtest.h>

#include <memory>

#include "display_store/store_world.hpp"
#include "platform/linux/display_manager.hpp"
#include "platform/linux/gamma_controller.hpp"
#include "platform/simulated/in_memory_defaults_store.hpp"
#include "platform/simulated/manual_scheduler.hpp"
#include "platform/simulated/simulated_brightness_controller.hpp"
#include "platform/simulated/simulated_color_profile_manager.hpp"
#include "platform/simulated/simulated_global_hot_key_registrar.hpp"
#include "presentation/detail_form/resolution_section.hpp"
#include "presentation/main_window/rgb_curve_editor_model.hpp"
#include "services/ddc/user_defaults_ddc_capability_cache_store.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/user_defaults_preferences_store.hpp"
#include "services/persistence/user_defaults_recovery_journal_store.hpp"
#include "x11/x_test_server.hpp"

namespace quorvane {
namespace {

class DisplayStoreX11Test : public testing::XServerTest {
  protected:
    void TearDown() override {
        store.reset();
        if (connection)
            resetRampsToIdentity();
    }

    DisplayStore& start() {
        if (!gamma)
            gamma = std::make_shared<GammaController>(256, displayName);
        DisplayStoreCollaborators collaborators;
        collaborators.preferencesStore = std::make_shared<UserDefaultsPreferencesStore>(defaults);
        collaborators.ddcCapabilityCacheStore =
            std::make_shared<UserDefaultsDDCCapabilityCacheStore>(defaults);
        collaborators.displayManager = std::make_shared<DisplayManager>(displayName);
        collaborators.brightnessController = std::make_shared<SimulatedBrightnessController>();
        collaborators.gammaController = gamma;
        collaborators.ddcController = std::make_shared<testing::SilentDDCController>();
        collaborators.globalHotKeyRegistrar = std::make_shared<SimulatedGlobalHotKeyRegistrar>();
        collaborators.colorProfileManager = std::make_shared<SimulatedColorProfileManager>();
        collaborators.recoveryJournalStore =
            std::make_shared<UserDefaultsRecoveryJournalStore>(defaults);
        collaborators.scheduler = scheduler;
        store = std::make_unique<DisplayStore>(std::move(collaborators));
        scheduler->runUntilIdle();
        return *store;
    }

    GammaRamp expectedRamp(const ColorAdjustment& adjustment, std::size_t size) {
        return GammaRamp::fromTables(gamma->makeTransferTables(adjustment), size);
    }

    std::shared_ptr<InMemoryDefaultsStore> defaults = std::make_shared<InMemoryDefaultsStore>();
    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<GammaController> gamma;
    std::unique_ptr<DisplayStore> store;
};

TEST_F(DisplayStoreX11Test, AColourChangeReachesTheCrtcAndCorrectionOffTakesItBack) {
    auto& displayStore = start();
    ASSERT_EQ(displayStore.displays().size(), 3u);
    const auto target = output("DUMMY1");
    ASSERT_TRUE(target);
    const auto displayID = static_cast<DisplayID>(target->id);
    const auto bystanderBefore = currentRamp("DUMMY0");

    displayStore.updateColorAdjustment(displayID, [](ColorAdjustment& value) {
        value.warmth = 0.8;
        value.contrast = 1.2;
    });
    ASSERT_EQ(displayStore.statusMessage(), "색상 조정 적용됨");
    const auto written = currentRamp("DUMMY1");
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, expectedRamp(displayStore.colorAdjustment(displayID), written->size()));
    EXPECT_EQ(currentRamp("DUMMY0"), bystanderBefore);

    displayStore.setSoftwareColorCorrectionEnabled(false);
    EXPECT_EQ(*currentRamp("DUMMY1"), expectedRamp(ColorAdjustment::neutral(), written->size()));
}

TEST_F(DisplayStoreX11Test, OneUndoAfterAnRGBCurveCommitRestoresAllThreeRamps) {
    auto& displayStore = start();
    const auto target = output("DUMMY2");
    ASSERT_TRUE(target);
    const auto displayID = static_cast<DisplayID>(target->id);
    displayStore.updateColorAdjustment(displayID, [](ColorAdjustment& value) {
        value.redGamma = 1.3;
        value.greenGamma = 0.8;
        value.blueGamma = 1.1;
    });
    const auto before = currentRamp("DUMMY2");
    ASSERT_TRUE(before);

    // A drag on the curve of all three channels, released near the top.
    RGBCurveEditorModel editor;
    const auto edit = editor.commit(0.5, 0.8);
    displayStore.updateColorAdjustment(displayID,
                                       [&](ColorAdjustment& value) { edit.applyTo(value); });
    const auto committed = currentRamp("DUMMY2");
    ASSERT_NE(committed, before);
    EXPECT_EQ(committed->red, committed->green);
    EXPECT_EQ(committed->green, committed->blue);

    const auto prompt = displayStore.recentChangeRecoveryPrompt();
    ASSERT_TRUE(prompt);
    EXPECT_TRUE(displayStore.undoRecentChangeRecoveryPrompt(prompt->id));
    EXPECT_EQ(currentRamp("DUMMY2"), before);
}

// Choosing a mode on the resolution page switches the real output at once,
// as RandR reports it afterwards, and the page shows the new current mode.
TEST_F(DisplayStoreX11Test, ResolutionMenuChoiceSwitchesTheOutput) {
    auto& displayStore = start();
    const auto outputID = static_cast<DisplayID>(output("DUMMY2")->id);
    auto displayOf = [&]() -> std::optional<DisplaySnapshot> {
        for (const auto& display : displayStore.displays())
            if (display.id == outputID)
                return display;
        return std::nullopt;
    };
    const auto display = displayOf();
    ASSERT_TRUE(display);
    ASSERT_FALSE(ResolutionSection::make(*display).items.empty());
    std::optional<DisplayModeSnapshot> original;
    std::optional<DisplayModeSnapshot> target;
    for (const auto& mode : display->modes) {
        if (mode.width == 1600 && mode.height == 900 && !original)
            original = mode;
        if (mode.width < 1600 && !target)
            target = mode;
    }
    ASSERT_TRUE(original && target);

    ResolutionSection::choose(displayStore, *display, target->id);
    scheduler->runUntilIdle();
    const auto switched = output("DUMMY2");
    EXPECT_EQ(switched->width, static_cast<unsigned>(target->width));
    EXPECT_EQ(switched->height, static_cast<unsigned>(target->height));
    EXPECT_EQ(ResolutionSection::make(*displayOf()).currentMode, target->label());

    // Back to the harness's mode for the other tests.
    ResolutionSection::choose(displayStore, *displayOf(), original->id);
    scheduler->runUntilIdle();
    EXPECT_EQ(output("DUMMY2")->width, 1600u);
}

}  // namespace
}  // namespace quorvane
