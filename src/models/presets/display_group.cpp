#include "models/presets/display_group.hpp"

#include <algorithm>
#include <map>
#include <set>

#include "models/display/display_identity.hpp"

namespace quorvane {

std::vector<DisplaySnapshot> DisplayGroup::visibleMembers(
    const std::vector<DisplaySnapshot>& displays) const {
    std::map<std::string, std::size_t> positions;
    for (std::size_t index = 0; index < displayIdentityRawValues.size(); ++index) {
        positions.emplace(displayIdentityRawValues[index], index);
    }

    struct Member {
        std::size_t position;
        const DisplaySnapshot* display;
    };
    std::vector<Member> members;
    for (const auto& display : displays) {
        auto found = positions.find(DisplayIdentity::of(display).rawValue);
        if (found != positions.end())
            members.push_back({found->second, &display});
    }
    std::stable_sort(members.begin(), members.end(), [](const Member& a, const Member& b) {
        if (a.position != b.position)
            return a.position < b.position;
        return a.display->id < b.display->id;
    });

    std::vector<DisplaySnapshot> result;
    result.reserve(members.size());
    for (const auto& member : members)
        result.push_back(*member.display);
    return result;
}

std::vector<std::string> DisplayGroup::uniqueIdentityRawValues(
    const std::vector<std::string>& values) {
    std::vector<std::string> unique;
    std::set<std::string> seen;
    for (const auto& value : values) {
        if (value.empty())
            continue;
        if (seen.insert(value).second)
            unique.push_back(value);
    }
    return unique;
}

}  // namespace quorvane
