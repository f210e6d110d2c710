#include "models/coding/unicode_text.hpp"
#include "models/coding/uuid_text.hpp"
#include "models/display/display_control_error.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

void DisplayStore::saveDisplayGroup(std::string_view name) {
    ChangeScope scope(*this);
    const auto trimmed = trimWhitespaceAndNewlines(name);
    if (trimmed.empty()) {
        setStatusMessage("그룹 이름을 입력하세요");
        return;
    }
    if (displays_.empty()) {
        setStatusMessage(DisplayControlError::noActiveDisplays().description());
        return;
    }
    std::vector<std::string> members;
    for (const auto& shown : displays_)
        members.push_back(DisplayIdentity::of(shown).rawValue);
    DisplayGroup group;
    group.id = newUuidText();
    group.name = trimmed;
    group.kind = DisplayGroup::Kind::custom;
    group.displayIdentityRawValues = DisplayGroup::uniqueIdentityRawValues(members);
    customDisplayGroups_.push_back(std::move(group));
    savePreferences();
    setStatusMessage("디스플레이 그룹 저장됨: " + trimmed);
}

void DisplayStore::deleteCustomDisplayGroup(DisplayGroup group) {
    if (group.kind == DisplayGroup::Kind::builtIn)
        return;
    ChangeScope scope(*this);
    std::erase_if(customDisplayGroups_,
                  [&](const DisplayGroup& kept) { return kept.id == group.id; });
    // Sync keeps its switch; without a group it reaches every other display.
    if (brightnessSyncGroupID_ && *brightnessSyncGroupID_ == group.id) {
        brightnessSyncGroupID_.reset();
    }
    savePreferences();
    setStatusMessage("디스플레이 그룹 삭제됨: " + group.name);
}

}  // namespace quorvane
