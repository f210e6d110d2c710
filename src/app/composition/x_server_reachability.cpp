#include "app/composition/x_server_reachability.hpp"

#include <X11/Xlib.h>

namespace quorvane {

bool xServerReachable() {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

std::string noXServerMessage(const char* displayVariable) {
    if (!displayVariable || !*displayVariable)
        return "quorvane: DISPLAY is not set; the windowed application needs an X server\n";
    return std::string("quorvane: cannot connect to the X server at DISPLAY=") + displayVariable +
           "; the windowed application needs a running X server\n";
}

}  // namespace quorvane
