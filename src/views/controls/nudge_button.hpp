#pragma once

#include <QAbstractButton>
#include <functional>

#include "presentation/controls/adjustment_nudge.hpp"

namespace quorvane {

class Theme;

// The borderless minus/plus square beside a slider: one click runs the row's
// action once (the row clamps, rounds and commits). The square and the symbol
// grow with the text size; the label and tooltip say "<title> <step> 낮추기/높이기".
// Disabled buttons keep their label and tooltip and run nothing.
//
// Usage:
//   auto* minus = new NudgeButton(theme, "대비", QuorvaneAdjustmentNudgeDirection::decrement,
//                                 0.05, [this] { nudge(-0.05); });
//   minus->setEnabled(canEdit);
class NudgeButton : public QAbstractButton {
    Q_OBJECT

  public:
    NudgeButton(Theme& theme, const std::string& title, QuorvaneAdjustmentNudgeDirection direction,
                double step, std::function<void()> action, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Theme& theme_;
    QuorvaneAdjustmentNudgeDirection direction_;
};

}  // namespace quorvane
