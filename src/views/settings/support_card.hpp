#pragma once

#include <QWidget>

#include "models/diagnostics/quorvane_diagnostic_privacy_mode.hpp"

class QVBoxLayout;

namespace quorvane {

class DisclosureSection;
class DisplayStore;
class SettingsActionCard;
class Theme;
class WrappingLabel;

// The "지원" card: the privacy-preserving report up front, the detailed
// report and the local recovery journal folded away. It only asks the window
// for a report; preparing and showing it is the window's.
class SupportCard : public QWidget {
    Q_OBJECT

  public:
    SupportCard(Theme& theme, DisplayStore& store, QWidget* parent = nullptr);

    void refresh();
    SettingsActionCard* basicReport() const { return basic_; }
    SettingsActionCard* detailedReport() const { return detailed_; }
    DisclosureSection* detailsSection() const { return details_; }
    DisclosureSection* journalSection() const { return journal_; }

  signals:
    void reportRequested(QuorvaneDiagnosticPrivacyMode mode);

  private:
    DisplayStore& store_;
    SettingsActionCard* basic_ = nullptr;
    SettingsActionCard* detailed_ = nullptr;
    DisclosureSection* details_ = nullptr;
    DisclosureSection* journal_ = nullptr;
    WrappingLabel* journalEntries_ = nullptr;
};

}  // namespace quorvane
