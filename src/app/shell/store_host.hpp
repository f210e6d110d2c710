#pragma once

#include <functional>
#include <memory>

#include "services/display_store/display_store.hpp"
#include "views/access/keyboard_path_follower.hpp"
#include "views/controls/spoken_result.hpp"
#include "views/design/theme.hpp"
#include "views/design/window_theme_follower.hpp"
#include "views/qt_scheduler.hpp"
#include "views/shell_actions.hpp"
#include "views/store_bridge.hpp"
#include "views/view_context.hpp"

namespace quorvane {

// The one store on the GUI thread with everything the views are built with:
// the Qt scheduler it runs on, its change signal, the shell's actions, the
// one theme (kept on the store's text size and appearance, and given to
// every window the application opens), the way the keyboard goes through
// every window, the voice of a hot key's result, and the view context over
// them. Used by the application and
// by the screenshot program, each with its own collaborators.
//
// Ending: the views go first (their owner destroys them before the host),
// then the host waits for the background work already started (a save or a
// monitor write in flight), then the store, then the scheduler.
class StoreHost {
  public:
    using CollaboratorsMaker = std::function<DisplayStoreCollaborators(std::shared_ptr<Scheduler>)>;

    // Must be created on the GUI thread, after the Qt application object.
    // `followDesktop` lets the theme follow the desktop's light/dark
    // preference for the "system" appearance.
    explicit StoreHost(const CollaboratorsMaker& makeCollaborators, bool followDesktop = true);
    ~StoreHost();
    StoreHost(const StoreHost&) = delete;
    StoreHost& operator=(const StoreHost&) = delete;

    DisplayStore& store() { return *store_; }
    StoreBridge& bridge() { return *bridge_; }
    ShellActions& actions() { return actions_; }
    ViewContext& context() { return *context_; }
    QtScheduler& scheduler() { return *scheduler_; }
    Theme& theme() { return *theme_; }

    // Gives the theme the store's text size and appearance now; the host
    // also does this on every store change.
    void followStoreTheme();

  private:
    std::shared_ptr<QtScheduler> scheduler_;
    std::unique_ptr<DisplayStore> store_;
    std::unique_ptr<StoreBridge> bridge_;
    std::unique_ptr<SpokenHotKeyResults> hotKeyResults_;
    ShellActions actions_;
    std::unique_ptr<Theme> theme_;
    std::unique_ptr<WindowThemeFollower> windows_;
    std::unique_ptr<KeyboardPathFollower> keyboardPath_;
    std::unique_ptr<ViewContext> context_;
};

}  // namespace quorvane
