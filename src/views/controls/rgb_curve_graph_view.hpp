#pragma once

#include <QColor>
#include <QWidget>

#include "presentation/main_window/rgb_curve_channel.hpp"

namespace quorvane {

class Theme;

// Draws one channel's gamma as a tone curve over a decorative histogram, a
// quarter grid and a dashed diagonal, with the control point on the curve at
// the owner's input. A press, every move and the release report the pointer
// as an (input, output) pair; the graph keeps no state of its own and never
// moves the point itself: the owner passes the new gamma and input back.
//
// The graph takes every mouse event it receives, so a surrounding scroll
// area never turns a drag on the curve into a scroll.
class RGBCurveGraphView : public QWidget {
    Q_OBJECT

  public:
    explicit RGBCurveGraphView(Theme& theme, QWidget* parent = nullptr);

    void setCurve(double gamma, RGBCurveChannel channel, double controlInput);
    void setAccessibleTexts(const QString& name);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static QColor channelTint(const Theme& theme, RGBCurveChannel channel);

  signals:
    void pointChanged(double input, double output);
    void pointCommitted(double input, double output);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPointF pointerPair(const QPointF& location) const;

    Theme& theme_;
    double gamma_ = 1.0;
    RGBCurveChannel channel_ = RGBCurveChannel::rgb;
    double controlInput_ = 0.5;
    bool dragging_ = false;
};

}  // namespace quorvane
