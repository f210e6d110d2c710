#pragma once

#include <optional>
#include <vector>

namespace quorvane {

// Items of one row lined up on their first text baseline, so a Hangul title,
// a Latin tag and a figure in another size stand on one line. An item is
// its height and the distance from its top to the baseline of its first
// line; an item without text stands on the baseline with its bottom edge.
struct BaselineItem {
    int height = 0;
    std::optional<int> baseline;

    bool operator==(const BaselineItem&) const = default;
};

// Where each item's top goes (from the row's top, in the items' order) and
// how tall the row is: the baseline lies as low as the item whose text sits
// lowest in it needs, and the row reaches the lowest bottom.
struct BaselineLine {
    std::vector<int> tops;
    int baseline = 0;
    int height = 0;

    bool operator==(const BaselineLine&) const = default;
};

BaselineLine alignOnFirstBaseline(const std::vector<BaselineItem>& items);

}  // namespace quorvane
