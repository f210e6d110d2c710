#pragma once

#include <functional>

namespace quorvane {

// What the views may ask of the application shell. The shell fills every
// member before any view exists; a view calls them and never opens or closes
// another top-level surface itself.
struct ShellActions {
    std::function<void()> openMainWindow;
    std::function<void()> openSettings;
    // Opens the panel at the tray icon (or, without a tray, as a small
    // window), or closes it when it is open.
    std::function<void()> togglePanel;
    std::function<void()> hidePanel;
    // Hands the outputs back to their restore ramps and ends the program.
    std::function<void()> quit;
};

}  // namespace quorvane
