#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "models/display/display_mode_snapshot.hpp"
#include "platform/interfaces/display_managing.hpp"
#include "platform/linux/randr_output.hpp"

namespace quorvane {

class SharedXConnection;

// The active displays of an X screen through RandR: connected outputs that
// drive a CRTC, in the server's order. The display ID is the output's XResourceID;
// vendor, model and serial numbers come from the output's EDID. Calls from
// several threads take turns on the shared connection. Every display read
// asks the server afresh and leaves the outputs on the connection, where the
// names, the gamma controller and the built-in check find them until the
// screen changes.
class DisplayManager final : public DisplayManaging {
  public:
    // A connection of its own on `displayName` ("" means $DISPLAY).
    explicit DisplayManager(std::string displayName = {});
    explicit DisplayManager(std::shared_ptr<SharedXConnection> connection);

    std::vector<DisplaySnapshot> activeDisplays(BrightnessControlling& brightnessController,
                                                const DisplaySnapshotRequest& request) override;
    void setMode(const DisplayModeSnapshot& mode, DisplayID displayID) override;
    // The EDID monitor name of each active output, else its output name.
    ScreenNames screenNamesByDisplayID() override;

    // The de-duplicated, ordered mode list: the first mode of each key in the
    // system's order wins; then larger pixel width, larger pixel height and
    // higher refresh rate first, ties keeping the system's order. A mode is
    // current when it agrees with `current` in ID and sizes and its refresh
    // rate differs by less than 0.01.
    static std::vector<DisplayModeSnapshot> orderedModes(
        const std::vector<DisplayModeDescription>& systemModes,
        const std::optional<DisplayModeDescription>& current);

    // Whether a system mode is the one a snapshot names (same rules as above).
    static bool modeMatches(const DisplayModeDescription& systemMode,
                            const DisplayModeDescription& wanted);

    static DisplayModeDescription describe(const RandrMode& mode);

    // The snapshot of one output: fallback name "Built-in Display" or
    // "Display <id>", replaced by the map's name when it has one.
    static DisplaySnapshot makeSnapshot(const RandrOutput& output, bool isMain,
                                        const DisplaySnapshotRequest& request,
                                        BrightnessControlling& brightnessController);

    // Main is the RandR primary output; without one among the active
    // outputs, the output at the origin.
    static std::optional<XResourceID> mainOutput(const std::vector<RandrOutput>& outputs);

  private:
    std::shared_ptr<SharedXConnection> connection_;
};

}  // namespace quorvane
