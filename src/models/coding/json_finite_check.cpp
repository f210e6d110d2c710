#include "models/coding/json_finite_check.hpp"

#include <cmath>
#include <vector>

namespace quorvane {

namespace {

// Iterative, so a deep tree cannot exhaust the stack.
template <class J>
bool containsNonFinite(const J& root) {
    std::vector<const J*> pending{&root};
    while (!pending.empty()) {
        const J* value = pending.back();
        pending.pop_back();
        if (value->is_number_float() && !std::isfinite(value->template get<double>()))
            return true;
        if (value->is_structured()) {
            for (const auto& child : *value)
                pending.push_back(&child);
        }
    }
    return false;
}

}  // namespace

bool containsNonFiniteNumber(const Json& value) {
    return containsNonFinite(value);
}
bool containsNonFiniteNumber(const OrderedJson& value) {
    return containsNonFinite(value);
}

}  // namespace quorvane
