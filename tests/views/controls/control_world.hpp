#pragma once

#include <memory>

#include "platform/simulated/manual_scheduler.hpp"
#include "services/display_store/display_store.hpp"
#include "views/design/theme.hpp"
#include "views/design/window_theme_follower.hpp"
#include "views/shell_actions.hpp"
#include "views/store_bridge.hpp"
#include "views/support/simulated_store.hpp"
#include "views/view_context.hpp"

namespace quorvane::testing {

// A store on the simulated platform with one external display (ID 7) under
// virtual time, with the bridge, a theme that ignores the desktop and the
// context the shared controls are built with.
struct ControlWorld {
    static constexpr DisplayID kDisplay = 7;

    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::unique_ptr<DisplayStore> store;
    std::unique_ptr<StoreBridge> bridge;
    ShellActions shell;
    Theme theme{false};
    // Every window a test shows takes the theme, as in the application.
    WindowThemeFollower follower{theme};
    std::unique_ptr<ViewContext> context;

    ControlWorld() {
        auto collaborators = simulatedCollaborators(scheduler);
        DisplaySnapshot display;
        display.id = kDisplay;
        display.name = "작업실 모니터";
        display.vendorNumber = 4268;
        display.modelNumber = 41007;
        display.serialNumber = 1234;
        display.bounds = {0, 0, 1920, 1080};
        std::static_pointer_cast<SimulatedDisplayManager>(collaborators.displayManager)
            ->setDisplays({display});
        std::static_pointer_cast<SimulatedGammaController>(collaborators.gammaController)
            ->setKnownDisplays({kDisplay});
        store = std::make_unique<DisplayStore>(std::move(collaborators));
        store->refresh(DisplayStore::RefreshIntent::startup);
        scheduler->runUntilIdle();
        bridge = std::make_unique<StoreBridge>(*store);
        context = std::make_unique<ViewContext>(ViewContext{*store, *bridge, shell, theme});
    }
};

}  // namespace quorvane::testing
