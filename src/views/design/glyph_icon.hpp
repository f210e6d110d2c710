#pragma once

#include <QColor>
#include <QWidget>

#include "presentation/design/quorvane_glyph.hpp"

namespace quorvane {

// One of the application's glyphs stroked in `tint` on a tinted rounded tile,
// `size` points square. Decorative: hidden from accessibility (the row or card
// around it carries the label). The stroke width does not grow with the size.
//
// Usage: new GlyphIcon(QuorvaneGlyph::recovery, 28, 1.6, theme.color(ColorRole::accent), parent)
class GlyphIcon : public QWidget {
    Q_OBJECT

  public:
    GlyphIcon(QuorvaneGlyph glyph, int size, double lineWidth, QColor tint,
              QWidget* parent = nullptr);

    void setTint(const QColor& tint);
    QSize sizeHint() const override { return {size_, size_}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QuorvaneGlyph glyph_;
    int size_;
    double lineWidth_;
    QColor tint_;
};

}  // namespace quorvane
