#pragma once

#include "services/display_store/display_store.hpp"
#include "views/shell_actions.hpp"
#include "views/store_bridge.hpp"

namespace quorvane {

// What every root surface is built with: the one store, its change signal and
// the shell's actions. All outlive every view.
struct ViewContext {
    DisplayStore& store;
    StoreBridge& bridge;
    ShellActions& shell;
};

}  // namespace quorvane
