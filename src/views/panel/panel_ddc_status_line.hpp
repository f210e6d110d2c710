#pragma once

#include <QWidget>

#include "presentation/panel/panel_ddc_status.hpp"

class QLabel;
class QPushButton;

namespace quorvane {

// The last line of the quick tuning card: the monitor-control badge and,
// where it helps, the button that checks the monitor.
class PanelDDCStatusLine : public QWidget {
    Q_OBJECT

  public:
    explicit PanelDDCStatusLine(QWidget* parent = nullptr);

    void setStatus(const PanelDDCStatus& status);
    QPushButton* probeButton() const { return probe_; }
    QLabel* label() const { return label_; }

  signals:
    void probeRequested();

  private:
    QLabel* label_ = nullptr;
    QPushButton* probe_ = nullptr;
};

}  // namespace quorvane
