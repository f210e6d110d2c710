#include "models/hot_keys/global_hot_key_registration_summary.hpp"

#include "models/coding/number_format.hpp"

namespace quorvane {

std::string GlobalHotKeyRegistrationFailure::message() const {
    return hotKeyLabel + " 등록 실패(" + formatDecimal(static_cast<std::int64_t>(statusCode)) + ")";
}

}  // namespace quorvane
