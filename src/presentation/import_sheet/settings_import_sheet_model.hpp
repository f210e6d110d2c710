#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "models/display/display_snapshot.hpp"
#include "models/settings/quorvane_local_hot_key_import_state.hpp"
#include "models/settings/quorvane_settings_import_display_mapping.hpp"
#include "models/settings/quorvane_settings_import_draft.hpp"
#include "models/settings/quorvane_settings_import_mode.hpp"

namespace quorvane {

// A display the user may link imported colour values to.
struct SettingsImportVisibleTarget {
    std::string id;
    std::string identityRawValue;  // the picker's value
    std::string aliasKey;
    std::string pickerLabel;  // "<alias or name> · 확실|주의"

    bool operator==(const SettingsImportVisibleTarget&) const = default;
};

// What the import preview sheet holds between opening and Import: the mode,
// the target picked for each imported display and the selection-move switch,
// over the draft and the displays connected now. Nothing here writes to the
// store. The skip value (kSkipImportTarget) lives only in the picked targets:
// every value handed on reads it as "no target". The connected displays are
// those of the moment the sheet opened: a display that comes or goes while
// it is open is left to the store's own check at import.
class SettingsImportSheetModel {
  public:
    using Aliases = std::map<std::string, std::string>;

    // Opens on a full import with the switch off and each imported display
    // on its default target (or skipped).
    SettingsImportSheetModel(QuorvaneSettingsImportDraft draft,
                             std::vector<DisplaySnapshot> visibleDisplays, Aliases aliases,
                             QuorvaneLocalHotKeyImportState localHotKeyState);

    const QuorvaneSettingsImportDraft& draft() const { return draft_; }
    const std::vector<DisplaySnapshot>& visibleDisplays() const { return visibleDisplays_; }
    const QuorvaneLocalHotKeyImportState& localHotKeyState() const { return localHotKeyState_; }

    QuorvaneSettingsImportMode mode() const { return mode_; }
    // Keeps the picked targets and the switch.
    void setMode(QuorvaneSettingsImportMode mode) { mode_ = mode; }
    bool switchSelectionToMappedDisplay() const { return switchSelection_; }
    void setSwitchSelectionToMappedDisplay(bool on) { switchSelection_ = on; }
    // The switch can only be used for a full import of a file that names a
    // selected display.
    bool selectionSwitchEnabled() const;

    // The picked value for an imported display: a target's identity or the
    // skip value. Picking never removes the entry.
    std::string target(const std::string& importedIdentity) const;
    void setTarget(const std::string& importedIdentity, std::string value);

    std::vector<SettingsImportVisibleTarget> visibleImportTargets() const;
    std::vector<QuorvaneSettingsImportDisplayMapping> confirmedMappings() const;
    std::set<std::string> duplicateTargetIdentityRawValues() const;
    std::set<std::string> invalidSelectedTargetIdentityRawValues() const;
    // Whether the row's target is one another row picked too (full import only).
    bool isDuplicateRow(const std::string& importedIdentity) const;
    // How many identities two or more connected displays share.
    int sharedIdentityCount() const;
    int mappedDisplayCount() const;
    bool canConfirm() const;

    struct Confirmation {
        QuorvaneSettingsImportMode mode = QuorvaneSettingsImportMode::fullWithDisplayMapping;
        std::vector<QuorvaneSettingsImportDisplayMapping> mappings;
        bool switchSelectionToMappedDisplay = false;

        bool operator==(const Confirmation&) const = default;
    };
    // What Import hands over; the switch is always off for a global-only import.
    Confirmation confirmation() const;

  private:
    std::optional<std::string> pickedTarget(const std::string& importedIdentity) const;

    QuorvaneSettingsImportDraft draft_;
    std::vector<DisplaySnapshot> visibleDisplays_;
    Aliases aliases_;
    QuorvaneLocalHotKeyImportState localHotKeyState_;
    QuorvaneSettingsImportMode mode_ = QuorvaneSettingsImportMode::fullWithDisplayMapping;
    std::map<std::string, std::string> targetByImportedIdentity_;
    bool switchSelection_ = false;
};

}  // namespace quorvane
