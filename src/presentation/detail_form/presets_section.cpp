#include "presentation/detail_form/presets_section.hpp"

#include "presentation/detail_form/new_entry_name.hpp"

namespace quorvane {

PresetsSection PresetsSection::make(const DisplayStore& store) {
    PresetsSection section;
    auto addRow = [&section](const DisplayPreset& preset) {
        const bool custom = preset.kind == ItemKind::custom;
        section.rows.push_back({preset, custom ? "사용자 프리셋" : "기본 프리셋", custom});
    };
    for (const auto& preset : DisplayPreset::builtIns())
        addRow(preset);
    for (const auto& preset : store.customPresets())
        addRow(preset);
    return section;
}

void PresetsSection::apply(DisplayStore& store, const DisplayPreset& preset, DisplayID displayID) {
    store.applyPreset(preset, displayID);
}

void PresetsSection::requestDelete(DisplayStore& store,
                                   QuorvaneDestructiveConfirmationCoordinator& confirmations,
                                   const DisplayPreset& preset) {
    if (preset.kind != ItemKind::custom)
        return;
    confirmations.request(QuorvaneDestructiveActionKind::deletePreset, preset.name,
                          QuorvaneDestructiveConfirmationStyle::destructive,
                          [&store, preset] { store.deleteCustomPreset(preset); });
}

void PresetsSection::save(DisplayStore& store, std::string& newPresetName, DisplayID displayID) {
    NewEntryName::save(newPresetName, [&store, displayID](const std::string& name) {
        store.saveCustomPreset(name, displayID);
    });
}

}  // namespace quorvane
