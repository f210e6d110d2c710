#include "models/color/display_color_profile.hpp"

#include "models/coding/unicode_text.hpp"

namespace quorvane {

std::string DisplayColorProfile::displayName() const {
    std::string trimmedName = trimWhitespaceAndNewlines(name);
    if (!trimmedName.empty())
        return trimmedName;
    // The mode description is shown as stored; trimming only decides whether
    // it has anything to show.
    if (modeDescription && !trimWhitespaceAndNewlines(*modeDescription).empty()) {
        return *modeDescription;
    }
    return "색상 프로파일 " + id;
}

std::vector<std::string> DisplayColorProfile::statusBadges() const {
    std::vector<std::string> badges;
    if (isCurrent)
        badges.emplace_back("현재 사용 중");
    if (isDefault)
        badges.emplace_back("기본값");
    if (isFactory)
        badges.emplace_back("공장 제공");
    return badges;
}

}  // namespace quorvane
