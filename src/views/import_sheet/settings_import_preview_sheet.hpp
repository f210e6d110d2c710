#pragma once

#include <QDialog>
#include <vector>

#include "models/settings/quorvane_settings_import_display_mapping.hpp"
#include "models/settings/quorvane_settings_import_draft.hpp"
#include "models/settings/quorvane_settings_import_mode.hpp"
#include "views/view_context.hpp"

class QPushButton;

namespace quorvane {

// The review of an imported settings file before anything is stored. For
// now it offers the whole import with the default display links; "취소"
// asks the window to cancel (which it reports), while Escape or closing the
// sheet only dismisses it (reject()).
class SettingsImportPreviewSheet : public QDialog {
    Q_OBJECT

  public:
    SettingsImportPreviewSheet(ViewContext& context, QuorvaneSettingsImportDraft draft,
                               QWidget* parent);

    const QuorvaneSettingsImportDraft& draft() const { return draft_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* importButton() const { return import_; }

  signals:
    void cancelRequested();
    void importConfirmed(QuorvaneSettingsImportMode mode,
                         std::vector<QuorvaneSettingsImportDisplayMapping> mappings,
                         bool switchSelectionToMappedDisplay);

  private:
    std::vector<QuorvaneSettingsImportDisplayMapping> mappings() const;

    ViewContext& context_;
    QuorvaneSettingsImportDraft draft_;
    QPushButton* cancel_ = nullptr;
    QPushButton* import_ = nullptr;
};

}  // namespace quorvane
