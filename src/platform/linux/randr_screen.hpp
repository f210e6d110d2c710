#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/randr_output.hpp"
#include "platform/linux/x_connection.hpp"

namespace quorvane {

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

    // Every output's state is asked for at once, and then every active
    // one's CRTC and EDID: two round trips, whatever the number of outputs.
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
    std::vector<RandrOutput> readOutputs(const std::vector<RROutput>& ids, bool includeModes) const;

    XConnection* connection_;
    std::unique_ptr<XRRScreenResources, ResourcesFree> resources_;
    int errorBase_ = 0;
};

}  // namespace quorvane
