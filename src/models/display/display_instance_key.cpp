#include "models/display/display_instance_key.hpp"

#include "models/coding/number_format.hpp"

namespace quorvane {

std::string displayInstanceKey(const DisplayIdentity& identity, DisplayID displayID) {
    return identity.rawValue + "|display-" + formatDecimal(displayID);
}

std::string displayInstanceKey(const DisplaySnapshot& display) {
    return displayInstanceKey(DisplayIdentity::of(display), display.id);
}

}  // namespace quorvane
