#pragma once

#include <vector>

namespace quorvane {

// The three gamma transfer tables of one display. Entry i of a table is the
// output level (0...1) for the input level i / (n - 1).
struct TransferTables {
    std::vector<float> red;
    std::vector<float> green;
    std::vector<float> blue;

    bool operator==(const TransferTables&) const = default;
};

}  // namespace quorvane
