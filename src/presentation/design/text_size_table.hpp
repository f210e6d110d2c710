#pragma once

#include <array>
#include <cstddef>

#include "models/settings/quorvane_text_size.hpp"

namespace quorvane {

// A value for each text size, in the order standard, large, extraLarge,
// veryLarge. Every size that grows with the user's text size is one of these,
// kept beside the component it belongs to.
template <class T>
struct TextSizeTable {
    std::array<T, 4> values;

    const T& operator[](QuorvaneTextSize size) const {
        return values[static_cast<std::size_t>(size)];
    }
};

}  // namespace quorvane
