#pragma once

#include <QAbstractButton>

#include "presentation/detail_form/start_guide.hpp"

namespace quorvane {

class Theme;

// One start-guide step as a button whose whole face is the card, so a press
// anywhere on it counts; its action row is part of the face, not a button
// of its own.
class StepCardButton : public QAbstractButton {
    Q_OBJECT

  public:
    StepCardButton(Theme& theme, const StartGuideStep& step, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Theme& theme_;
};

}  // namespace quorvane
