#pragma once

#include <QWidget>
#include <functional>

#include "models/diagnostics/quorvane_display_support_summary.hpp"

class QPushButton;
class QVBoxLayout;

namespace quorvane {

class SupportStatusLabel;
class Theme;
class WrappingLabel;

// The short form of the health check for a display's start page: the overall
// status as a badge (read out by its label), "지금 할 수 있는 조정" with the
// overall message, a button to the full wizard and, when any capability row
// offers a way into the monitor settings (enabled or not), a button there.
// It changes nothing itself; its buttons only call the host's callbacks.
class SupportCard : public QWidget {
    Q_OBJECT

  public:
    SupportCard(Theme& theme, QuorvaneDisplaySupportSummary summary,
                std::function<void()> onOpenDiagnostics,
                std::function<void()> onOpenHardware = nullptr, QWidget* parent = nullptr);

    void setSummary(QuorvaneDisplaySupportSummary summary);
    QPushButton* detailsButton() const { return details_; }
    // Null when the summary offers no monitor-settings action.
    QPushButton* hardwareButton() const;

  private:
    void build();
    void showSummary();

    Theme& theme_;
    QuorvaneDisplaySupportSummary summary_;
    std::function<void()> onOpenDiagnostics_;
    std::function<void()> onOpenHardware_;
    QVBoxLayout* column_;
    SupportStatusLabel* badge_ = nullptr;
    WrappingLabel* message_ = nullptr;
    QPushButton* details_ = nullptr;
    QPushButton* hardware_ = nullptr;
};

}  // namespace quorvane
