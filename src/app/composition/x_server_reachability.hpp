#pragma once

#include <string>

namespace quorvane {

// Whether an X client can connect to the server named by $DISPLAY.
bool xServerReachable();

// What the windowed application says on standard error when it cannot: names
// $DISPLAY (or that it is unset) and points at the command line, which works
// without one for the commands that need no screen.
std::string noXServerMessage(const char* displayVariable);

// What the windowed application says on standard error when its X server
// goes away while it runs, just before it ends.
std::string lostXServerMessage(const char* displayVariable);

}  // namespace quorvane
