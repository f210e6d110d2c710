#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "models/display/display_control_error.hpp"
#include "platform/interfaces/brightness_controlling.hpp"

namespace quorvane {

// Backlights kept in memory: a display has one when it has a value.
class SimulatedBrightnessController final : public BrightnessControlling {
  public:
    std::optional<double> readBrightness(DisplayID displayID) override;
    // brightnessUnsupported without a value; the injected failure otherwise.
    void setBrightness(DisplayID displayID, double value) override;

    void setValue(DisplayID displayID, std::optional<double> value);
    void setWriteFailure(std::optional<DisplayControlError> failure);
    // Reads answer none while set, as a refused read does.
    void setReadsFail(bool fail);

    std::optional<double> value(DisplayID displayID) const;
    std::vector<std::pair<DisplayID, double>> writes() const;

  private:
    mutable std::mutex mutex_;
    std::map<DisplayID, double> values_;
    std::optional<DisplayControlError> writeFailure_;
    bool readsFail_ = false;
    std::vector<std::pair<DisplayID, double>> writes_;
};

}  // namespace quorvane
