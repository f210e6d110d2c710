#pragma once

#include <cstdint>
#include <string>

#include "models/coding/json_coding.hpp"
#include "models/coding/number_format.hpp"

namespace quorvane {

// A display concerned by a journal entry, as it was at the time.
struct QuorvaneRecoveryJournalTarget {
    std::uint32_t displayID = 0;
    std::string displayIdentityRawValue;
    std::string displayName;

    bool operator==(const QuorvaneRecoveryJournalTarget&) const = default;

    // "2-" and the identity raw value for display 2.
    std::string id() const { return formatDecimal(displayID) + "-" + displayIdentityRawValue; }

    template <class J>
    J toJson() const {
        J object = J::object();
        object["displayID"] = displayID;
        object["displayIdentityRawValue"] = displayIdentityRawValue;
        object["displayName"] = displayName;
        return object;
    }

    // Every key is required.
    template <class J>
    static QuorvaneRecoveryJournalTarget fromJson(const J& object) {
        QuorvaneRecoveryJournalTarget target;
        target.displayID = requireKey<std::uint32_t>(object, "displayID");
        target.displayIdentityRawValue = requireKey<std::string>(object, "displayIdentityRawValue");
        target.displayName = requireKey<std::string>(object, "displayName");
        return target;
    }
};

}  // namespace quorvane
