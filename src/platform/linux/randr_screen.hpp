#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/x_connection.hpp"

namespace quorvane {

// One mode of an output as the server describes it.
struct RandrMode {
    RRMode id = None;
    unsigned width = 0;
    unsigned height = 0;
    // Dot clock / (htotal x vtotal), doubled for interlaced and halved for
    // double-scanned modes; 0 when the timings are blank.
    double refreshRate = 0;

    bool operator==(const RandrMode&) const = default;
};

// A connected output that drives a CRTC: one active display.
struct RandrOutput {
    RROutput id = None;
    std::string name;
    RRCrtc crtc = None;
    // The CRTC's rectangle on the screen (already rotated).
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    Rotation rotation = RR_Rotate_0;
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

// The RandR resources of one screen, read once. Active outputs are the
// connected outputs with a CRTC that has a mode, in the server's order.
class RandrScreen {
  public:
    // How to read: probing asks the server to look for newly plugged
    // monitors, which can take a while on real hardware; without it the
    // server answers from what it already knows.
    enum class Probe { cached, probe };

    // None when the server has no RandR 1.3 or better.
    static std::optional<RandrScreen> read(XConnection& connection, Probe probe);

    std::vector<RandrOutput> activeOutputs(bool includeModes) const;
    std::optional<RandrOutput> activeOutput(RROutput id, bool includeModes) const;

    // The error code the server uses for an output ID it does not know.
    int badOutputErrorCode() const { return errorBase_ + BadRROutput; }

    XConnection& connection() const { return *connection_; }
    XRRScreenResources* resources() const { return resources_.get(); }
    std::optional<RandrMode> mode(RRMode id) const;

  private:
    struct ResourcesFree {
        void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
    };

    RandrScreen(XConnection& connection, XRRScreenResources* resources, int errorBase);
    std::optional<RandrOutput> readOutput(RROutput id, RROutput primary, bool includeModes) const;
    std::vector<std::uint8_t> readEdid(RROutput id) const;

    XConnection* connection_;
    std::unique_ptr<XRRScreenResources, ResourcesFree> resources_;
    int errorBase_ = 0;
};

}  // namespace quorvane
