#pragma once

#include "models/coding/json_coding.hpp"

namespace quorvane {

// True when the tree holds a NaN or infinite number. JSON has no spelling for
// them and the serialiser would silently write null, which the next decode
// rejects; encoders treat such a record as unencodable instead.
bool containsNonFiniteNumber(const Json& value);
bool containsNonFiniteNumber(const OrderedJson& value);

}  // namespace quorvane
