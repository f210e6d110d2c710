#include "models/settings/quorvane_preferences.hpp"

#include "models/coding/json_finite_check.hpp"

namespace quorvane {

const QuorvanePreferences& QuorvanePreferences::defaults() {
    static const QuorvanePreferences record;
    return record;
}

std::optional<std::string> QuorvanePreferences::encoded() const {
    const OrderedJson json = toJson<OrderedJson>();
    if (containsNonFiniteNumber(json))
        return std::nullopt;
    return dumpJson(json);
}

QuorvanePreferences QuorvanePreferences::decoded(std::string_view bytes) {
    return fromJson(parseJson(bytes));
}

}  // namespace quorvane
