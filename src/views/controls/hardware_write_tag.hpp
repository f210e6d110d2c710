#pragma once

#include <QWidget>

#include "views/design/text_baseline.hpp"

namespace quorvane {

class Theme;

// The small amber "직접 적용" badge with a hand symbol marking controls whose
// changes are written into the monitor's own settings. Never wraps or
// truncates; in a narrow row the other content gives way. Read out as
// "모니터 자체 설정에 직접 적용". Every caller uses compact.
class HardwareWriteTag : public QWidget, public TextBaselined {
    Q_OBJECT

  public:
    HardwareWriteTag(Theme& theme, bool compact, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    std::optional<int> firstBaseline(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QFont tagFont() const;

    Theme& theme_;
    bool compact_;
};

}  // namespace quorvane
