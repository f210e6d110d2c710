#include "services/display/system_display_refresh_collector.hpp"

#include <exception>

#include "models/color/color_profile_error.hpp"

namespace quorvane {

SystemDisplayRefreshCollector::SystemDisplayRefreshCollector(
    std::shared_ptr<DisplayManaging> displayManager,
    std::shared_ptr<BrightnessControlling> brightnessController,
    std::shared_ptr<ColorProfileManaging> colorProfileManager, Scheduler& scheduler)
    : displayManager_(std::move(displayManager)),
      brightnessController_(std::move(brightnessController)),
      colorProfileManager_(std::move(colorProfileManager)),
      scheduler_(scheduler) {}

DisplayFullRefreshResult SystemDisplayRefreshCollector::collect(
    DisplayManaging& displayManager, BrightnessControlling& brightnessController,
    ColorProfileManaging& colorProfileManager, const ScreenNames& screenNames) {
    DisplayFullRefreshResult result;
    result.displays = displayManager.activeDisplays(brightnessController,
                                                    DisplaySnapshotRequest::full(screenNames));
    for (const auto& display : result.displays) {
        try {
            result.colorProfileStates[display.id] = colorProfileManager.profileState(display);
        } catch (const ColorProfileError& error) {
            result.colorProfileStates[display.id] =
                DisplayColorProfileState::unavailable(display.id, error.description());
        } catch (const std::exception& error) {
            // An escaping exception would end the background thread and the
            // process with it; the display just shows why it has no profiles.
            result.colorProfileStates[display.id] =
                DisplayColorProfileState::unavailable(display.id, error.what());
        }
    }
    return result;
}

void SystemDisplayRefreshCollector::collectFullRefresh(ScreenNames screenNames,
                                                       Completion completion) {
    auto displayManager = displayManager_;
    auto brightnessController = brightnessController_;
    auto colorProfileManager = colorProfileManager_;
    Scheduler& scheduler = scheduler_;
    scheduler.runInBackground([displayManager, brightnessController, colorProfileManager,
                               &scheduler, names = std::move(screenNames),
                               completion = std::move(completion)]() mutable {
        auto result = collect(*displayManager, *brightnessController, *colorProfileManager, names);
        scheduler.post([completion = std::move(completion), result = std::move(result)]() mutable {
            completion(std::move(result));
        });
    });
}

}  // namespace quorvane
