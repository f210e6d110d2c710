#pragma once

#include <QDialog>
#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "models/settings/quorvane_change_plan.hpp"
#include "models/settings/quorvane_settings_import_display_mapping.hpp"
#include "models/settings/quorvane_settings_import_draft.hpp"
#include "models/settings/quorvane_settings_import_mode.hpp"
#include "presentation/import_sheet/settings_import_sheet_model.hpp"
#include "views/view_context.hpp"

class QCheckBox;
class QComboBox;
class QPushButton;
class QVBoxLayout;

namespace quorvane {

class ImportMappingNoticeView;
class SettingsSegmentedPicker;
class SettingsTintedTile;
class WrappingLabel;

// The review of an imported settings file before anything is stored: what
// the file holds, full or common-only import, which connected display each
// imported colour value goes to, the before-and-after view and the whole
// change plan, and what the import does not do. It writes nothing: "가져오기"
// (the default button, enabled only for a safe mapping) hands the choices to
// the window; "취소" asks the window to cancel, which it reports; Escape or
// closing only dismisses (reject()). It takes the store's displays, aliases
// and hot-key state once, when it opens: a display that comes or goes while
// it is open is left to the store's own check at import.
class SettingsImportPreviewSheet : public QDialog {
    Q_OBJECT

  public:
    SettingsImportPreviewSheet(ViewContext& context, QuorvaneSettingsImportDraft draft,
                               QWidget* parent);

    const QuorvaneSettingsImportDraft& draft() const { return model_.draft(); }
    const SettingsImportSheetModel& model() const { return model_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* importButton() const { return import_; }
    SettingsSegmentedPicker* modePicker() const { return modePicker_; }
    // The target picker of one imported display, or null.
    QComboBox* targetPicker(const std::string& importedIdentity) const;
    QCheckBox* selectionSwitch() const { return selectionSwitch_; }
    // The change plan's card titles as shown.
    std::vector<QString> planCardTitles() const;

  signals:
    void cancelRequested();
    void importConfirmed(QuorvaneSettingsImportMode mode,
                         std::vector<QuorvaneSettingsImportDisplayMapping> mappings,
                         bool switchSelectionToMappedDisplay);

  private:
    QWidget* buildSummary();
    QWidget* buildMode();
    QWidget* buildMapping();
    QWidget* buildSafety();
    void fillPicker(QComboBox* picker, const std::string& importedIdentity);
    void refresh();
    void showPlan();
    void rebuildPlanSections(const QuorvaneChangePlan& plan);

    ViewContext& context_;
    SettingsImportSheetModel model_;
    SettingsSegmentedPicker* modePicker_ = nullptr;
    WrappingLabel* modeDescription_ = nullptr;
    WrappingLabel* mappedCount_ = nullptr;
    std::optional<QuorvaneChangePlan> shownPlan_;
    // Per imported display: its row's tile and its target picker.
    struct MappingRow {
        SettingsTintedTile* tile = nullptr;
        QComboBox* picker = nullptr;
    };
    std::map<std::string, MappingRow> rows_;
    // The notices under the rows, one per kind, in the order shown.
    std::array<ImportMappingNoticeView*, 3> notices_{};
    QCheckBox* selectionSwitch_ = nullptr;
    QWidget* selectionSwitchText_ = nullptr;
    QVBoxLayout* beforeAfter_ = nullptr;
    QVBoxLayout* plan_ = nullptr;
    WrappingLabel* planCount_ = nullptr;
    WrappingLabel* planSummary_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* import_ = nullptr;
};

}  // namespace quorvane
