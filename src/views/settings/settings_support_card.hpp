#pragma once

#include <QWidget>

#include "models/diagnostics/quorvane_diagnostic_privacy_mode.hpp"

namespace quorvane {

class SettingsDisclosureSection;
class DisplayStore;
class RecoveryJournalView;
class SettingsActionCard;
class Theme;

// The "지원" card: the privacy-preserving report up front, the detailed
// report and the local recovery journal folded away. It only asks the window
// for a report; preparing and showing it is the window's.
class SettingsSupportCard : public QWidget {
    Q_OBJECT

  public:
    SettingsSupportCard(Theme& theme, DisplayStore& store, QWidget* parent = nullptr);

    void refresh();
    SettingsActionCard* basicReport() const { return basic_; }
    SettingsActionCard* detailedReport() const { return detailed_; }
    SettingsDisclosureSection* detailsSection() const { return details_; }
    SettingsDisclosureSection* journalSection() const { return journal_; }
    RecoveryJournalView* journalView() const { return journalView_; }

  signals:
    void reportRequested(QuorvaneDiagnosticPrivacyMode mode);

  private:
    DisplayStore& store_;
    SettingsActionCard* basic_ = nullptr;
    SettingsActionCard* detailed_ = nullptr;
    SettingsDisclosureSection* details_ = nullptr;
    SettingsDisclosureSection* journal_ = nullptr;
    RecoveryJournalView* journalView_ = nullptr;
};

}  // namespace quorvane
