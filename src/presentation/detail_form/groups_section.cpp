#include "presentation/detail_form/groups_section.hpp"

#include "models/coding/number_format.hpp"
#include "models/display/display_identity_descriptor.hpp"
#include "presentation/detail_form/new_entry_name.hpp"

namespace quorvane {

std::string GroupsSection::subtitle(const DisplayStore& store, const DisplayGroup& group) {
    std::string text = formatDecimal(group.displayIdentityRawValues.size()) + "개 저장됨 · " +
                       formatDecimal(group.visibleMembers(store.displays()).size()) + "개 연결됨";
    if (store.brightnessSyncGroupID() == group.id)
        text += " · 밝기 동기화 범위";
    if (const auto warning =
            DisplayIdentityDescriptorBuilder::groupWarning(group, store.displays()))
        text += " · " + *warning;
    return text;
}

GroupsSection GroupsSection::make(const DisplayStore& store) {
    GroupsSection section;
    section.scopeOptions.push_back({"모든 디스플레이", ""});
    for (const auto& group : store.customDisplayGroups()) {
        section.scopeOptions.push_back({group.name, group.id});
        section.rows.push_back({group, subtitle(store, group)});
    }
    section.selectedScope = store.brightnessSyncGroupID().value_or("");
    section.saveNeedsDisplays = store.displays().empty();
    return section;
}

bool GroupsSection::saveDisabled(const DisplayStore& store, const std::string& newGroupName) {
    return NewEntryName::saveDisabled(newGroupName) || store.displays().empty();
}

void GroupsSection::chooseScope(DisplayStore& store, const std::string& tag) {
    if (tag.empty())
        store.setBrightnessSyncGroupID(std::nullopt);
    else
        store.setBrightnessSyncGroupID(tag);
}

void GroupsSection::requestDelete(DisplayStore& store,
                                  QuorvaneDestructiveConfirmationCoordinator& confirmations,
                                  const DisplayGroup& group) {
    confirmations.request(QuorvaneDestructiveActionKind::deleteDisplayGroup, group.name,
                          QuorvaneDestructiveConfirmationStyle::destructive,
                          [&store, group] { store.deleteCustomDisplayGroup(group); });
}

void GroupsSection::save(DisplayStore& store, std::string& newGroupName) {
    NewEntryName::save(newGroupName,
                       [&store](const std::string& name) { store.saveDisplayGroup(name); });
}

}  // namespace quorvane
