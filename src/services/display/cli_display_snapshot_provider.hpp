#pragma once

#include <memory>

#include "platform/interfaces/cli_display_snapshot_providing.hpp"
#include "platform/interfaces/display_managing.hpp"

namespace quorvane {

// The command line's display list: a read without modes, named afterwards
// with the names read once (only when there are displays).
class CLIDisplaySnapshotProvider final : public CLIDisplaySnapshotProviding {
  public:
    explicit CLIDisplaySnapshotProvider(std::shared_ptr<DisplayManaging> displayManager);

    std::vector<DisplaySnapshot> activeCLIDisplays(BrightnessControlling& brightnessController,
                                                   bool includeHardwareBrightness) override;

  private:
    std::shared_ptr<DisplayManaging> displayManager_;
};

}  // namespace quorvane
