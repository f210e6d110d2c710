#pragma once

#include <QHBoxLayout>

namespace quorvane {

struct BaselineLine;

// A horizontal box whose items stand on their first text baseline (a
// semibold title, a caption tag and a readout of their own sizes on one
// line) instead of hanging from the top. Widths are shared as a
// QHBoxLayout shares them; only the items' heights move.
class BaselineRowLayout : public QHBoxLayout {
  public:
    BaselineRowLayout() = default;

    void setGeometry(const QRect& rect) override;
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;

  private:
    // The items lined up on their baseline at the widths they ask for.
    int extraHeight() const;
};

}  // namespace quorvane
