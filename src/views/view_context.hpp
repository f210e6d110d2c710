#pragma once

#include "services/display_store/display_store.hpp"
#include "views/design/theme.hpp"
#include "views/shell_actions.hpp"
#include "views/store_bridge.hpp"

namespace quorvane {

// What every root surface is built with: the one store, its change signal,
// the shell's actions and the one theme (which follows the store's text size
// and appearance). All outlive every view.
struct ViewContext {
    DisplayStore& store;
    StoreBridge& bridge;
    ShellActions& shell;
    Theme& theme;
};

}  // namespace quorvane
