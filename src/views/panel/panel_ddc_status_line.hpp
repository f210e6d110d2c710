#pragma once

#include <QWidget>

#include "presentation/panel/panel_ddc_status.hpp"

class QPushButton;

namespace quorvane {

class FitToWidth;
class SymbolImage;
class Theme;
class WrappingLabel;

// The last line of the quick tuning card: the monitor-control verdict and,
// where it helps, the button that checks the monitor. The button moves below
// the label when both do not fit side by side.
class PanelDDCStatusLine : public QWidget {
    Q_OBJECT

  public:
    explicit PanelDDCStatusLine(Theme& theme, QWidget* parent = nullptr);

    void setStatus(const PanelDDCStatus& status);
    QPushButton* probeButton() const { return probe_; }
    WrappingLabel* label() const { return label_; }

  signals:
    void probeRequested();

  private:
    void restyle();

    Theme& theme_;
    PanelDDCStatus status_;
    SymbolImage* icon_ = nullptr;
    WrappingLabel* label_ = nullptr;
    QPushButton* probe_ = nullptr;
};

}  // namespace quorvane
