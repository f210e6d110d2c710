#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Plain records of what RandR reports, kept free of the X headers (whose
// macros clash with ordinary C++ names) so that callers need not include them.

namespace quorvane {

// An X resource ID (output, CRTC, mode), as Xlib's XID.
using XResourceID = unsigned long;

// One mode of an output as the server describes it.
struct RandrMode {
    XResourceID id = 0;
    unsigned width = 0;
    unsigned height = 0;
    // Dot clock / (htotal x vtotal), doubled for interlaced and halved for
    // double-scanned modes; 0 when the timings are blank.
    double refreshRate = 0;

    bool operator==(const RandrMode&) const = default;
};

// A connected output that drives a CRTC: one active display.
struct RandrOutput {
    XResourceID id = 0;
    std::string name;
    XResourceID crtc = 0;
    // The CRTC's rectangle on the screen (already rotated).
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    // RandR rotation and reflection bits (RR_Rotate_0 = 1).
    std::uint16_t rotation = 1;
    bool isPrimary = false;
    // The output's EDID property, empty when it has none.
    std::vector<std::uint8_t> edid;
    // Filled only when modes are asked for: the current mode and the
    // output's mode list in the server's order.
    std::optional<RandrMode> currentMode;
    std::vector<RandrMode> modes;

    bool operator==(const RandrOutput&) const = default;

    // A panel built into the computer: an eDP, LVDS or DSI connector.
    bool isBuiltin() const { return isBuiltinConnectorName(name); }
    static bool isBuiltinConnectorName(std::string_view outputName);
};

}  // namespace quorvane
