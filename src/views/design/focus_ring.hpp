#pragma once

#include <QColor>
#include <QFocusFrame>
#include <QPointer>
#include <QRectF>

class QPainter;

namespace quorvane {

// The focus mark of the windows' own controls: a two-pixel line of the
// accent along `line` (its middle), rounded by `radius`.
void paintFocusRing(QPainter& painter, const QRectF& line, double radius, const QColor& accent);

// The focus ring of a widget that draws none of its own while it holds the
// focus: a card or a page given it for the moment. It lies just outside the
// widget, drawn on the scrolled content or the window the widget sits in
// (along the widget's own edge where that has no room left), above
// everything there, and follows the widget as it moves or resizes. It
// takes its colour from the palette's highlight (the theme's accent), so a
// theme change repaints it in place; a focus frame, it takes no click and no
// screen reader meets it. Its owner deletes it when the focus leaves.
class FocusRing : public QFocusFrame {
  public:
    explicit FocusRing(QWidget* around);

  protected:
    bool eventFilter(QObject*, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void place();

    // Cleared as the widget goes: until the ring's own deletion runs, a
    // widget between them may still move or resize.
    QPointer<QWidget> around_;
};

}  // namespace quorvane
