#pragma once

#include <memory>

#include "platform/interfaces/brightness_controlling.hpp"
#include "platform/interfaces/color_profile_managing.hpp"
#include "platform/interfaces/display_managing.hpp"
#include "platform/interfaces/display_refresh_collecting.hpp"
#include "platform/interfaces/scheduler.hpp"

namespace quorvane {

// The background full refresh: every display with modes and hardware
// brightness, and each display's colour-profile state. One display's profile
// failure never stops the others.
class SystemDisplayRefreshCollector final : public DisplayRefreshCollecting {
  public:
    // The scheduler must outlive the collector and every refresh it started.
    SystemDisplayRefreshCollector(std::shared_ptr<DisplayManaging> displayManager,
                                  std::shared_ptr<BrightnessControlling> brightnessController,
                                  std::shared_ptr<ColorProfileManaging> colorProfileManager,
                                  Scheduler& scheduler);

    // The read runs off the owner's thread; the collaborators are kept alive
    // by the running refresh, so the collector may go away meanwhile.
    void collectFullRefresh(ScreenNames screenNames, Completion completion) override;

    // The read itself, on the calling thread.
    static DisplayFullRefreshResult collect(DisplayManaging& displayManager,
                                            BrightnessControlling& brightnessController,
                                            ColorProfileManaging& colorProfileManager,
                                            const ScreenNames& screenNames);

  private:
    std::shared_ptr<DisplayManaging> displayManager_;
    std::shared_ptr<BrightnessControlling> brightnessController_;
    std::shared_ptr<ColorProfileManaging> colorProfileManager_;
    Scheduler& scheduler_;
};

}  // namespace quorvane
