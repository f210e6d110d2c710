#pragma once

#include <QWidget>

#include "presentation/panel/panel_ddc_status.hpp"

class QPushButton;

namespace quorvane {

class DDCBadgeView;
class Theme;

// The last line of the quick tuning card: the monitor-control verdict and,
// where it helps, the button that checks the monitor. The button moves below
// the label when both do not fit side by side.
class PanelDDCStatusLine : public QWidget {
    Q_OBJECT

  public:
    explicit PanelDDCStatusLine(Theme& theme, QWidget* parent = nullptr);

    // The badge's symbol stands before the panel's own short text, also
    // while a probe runs. The button gives way to the progress line while
    // its check runs and takes the focus back when it returns; the outcome
    // of a check started here is heard then.
    void setStatus(const DDCCapabilityBadge& badge, const PanelDDCStatus& status);
    QPushButton* probeButton() const { return probe_; }

  signals:
    void probeRequested();

  private:
    void restyle();

    Theme& theme_;
    DDCBadgeView* badge_ = nullptr;
    QPushButton* probe_ = nullptr;
    // A check the user started here, whose outcome is yet to be heard.
    bool probeAwaited_ = false;
};

}  // namespace quorvane
