#pragma once

#include <string>
#include <vector>

#include "models/settings/quorvane_change_plan_entry.hpp"

namespace quorvane {

// A reviewable list of what an action would change, shown before anything is
// saved.
struct QuorvaneChangePlan {
    std::string id;
    std::string title;
    std::string summary;
    std::vector<QuorvaneChangePlanEntry> entries;

    bool operator==(const QuorvaneChangePlan&) const = default;
};

}  // namespace quorvane
