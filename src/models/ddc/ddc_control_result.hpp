#pragma once

#include <optional>

#include "models/ddc/ddc_control_value.hpp"
#include "models/ddc/ddc_controller_error.hpp"

namespace quorvane {

// What a read or a write with read-back gives: the control's value, or the
// error that stopped it. Exactly one of the two is set.
struct DDCControlResult {
    std::optional<DDCControlValue> value;
    std::optional<DDCControllerError> error;

    static DDCControlResult success(DDCControlValue value) { return {value, std::nullopt}; }
    static DDCControlResult failure(DDCControllerError error) {
        return {std::nullopt, std::move(error)};
    }
    bool succeeded() const { return value.has_value(); }

    bool operator==(const DDCControlResult&) const = default;
};

}  // namespace quorvane
