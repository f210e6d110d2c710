#pragma once

#include <QAbstractButton>

namespace quorvane {

class Theme;

// The "고급 옵션" disclosure of the sidebar: a chevron, the sliders symbol and
// the title; checked while the group is open.
class AdvancedDisclosure : public QAbstractButton {
    Q_OBJECT

  public:
    AdvancedDisclosure(Theme& theme, QWidget* parent = nullptr);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Theme& theme_;
};

}  // namespace quorvane
