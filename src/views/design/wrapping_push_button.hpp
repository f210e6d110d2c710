#pragma once

#include <QPushButton>

namespace quorvane {

// A push button whose title wraps between words when the button is given
// less than its one-line width, so a layout may narrow it without cutting
// the title; each line is centred, and the button grows to hold them all.
// Its ideal width is the one-line title's, as a push button's.
//
// Usage:
//   auto* button = new WrappingPushButton(parent);
//   button->setText(QStringLiteral("설정 > 지원에서 리포트 미리보기"));
class WrappingPushButton : public QPushButton {
    Q_OBJECT

  public:
    explicit WrappingPushButton(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // The button's size around a title of this size (its frame and insets).
    QSize frameAround(QSize title) const;
};

}  // namespace quorvane
