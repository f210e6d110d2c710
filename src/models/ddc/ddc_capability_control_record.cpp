#include "models/ddc/ddc_capability_control_record.hpp"

namespace quorvane {

std::string_view caseName(DDCCapabilityControlState state) {
    switch (state) {
        case DDCCapabilityControlState::supported:
            return "supported";
        case DDCCapabilityControlState::unsupported:
            return "unsupported";
        case DDCCapabilityControlState::unstable:
            return "unstable";
    }
    return {};
}

std::optional<DDCCapabilityControlState> parseCaseName(std::string_view text,
                                                       DDCCapabilityControlState*) {
    for (DDCCapabilityControlState state :
         {DDCCapabilityControlState::supported, DDCCapabilityControlState::unsupported,
          DDCCapabilityControlState::unstable}) {
        if (caseName(state) == text)
            return state;
    }
    return std::nullopt;
}

}  // namespace quorvane
