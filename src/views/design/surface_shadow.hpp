#pragma once

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRectF>
#include <QRegion>
#include <tuple>
#include <vector>

#include "presentation/design/surface_look.hpp"

class QPainter;
class QWidget;

namespace quorvane {

class SurfacePanel;

// Paints the drop shadow of a rounded shape: black at the shadow's opacity,
// blurred by its radius and moved down by its offset. The shadow reaches
// `shadow.reach()` points past the shape on every side (more below).
// Blurred corner and edge pieces are kept between calls, so a large card
// costs no more than a small one.
class SurfaceShadowPainter {
  public:
    void paint(QPainter& painter, const QRectF& shape, double cornerRadius,
               const SurfaceShadow& shadow);

  private:
    struct Piece {
        std::tuple<int, int, int, double> key;  // radius, sigma×100, opacity×1000, pixel ratio
        QPixmap pixmap;
        int margin = 0;
    };

    const Piece& piece(int radius, const SurfaceShadow& shadow, double pixelRatio);

    std::vector<Piece> pieces_;
};

// A blurred image of a rounded rectangle of `size` (device pixels) whose
// border lies `reach` pixels inside the image, as an alpha mask of black at
// `opacity` (for tests and odd sizes).
QImage blurredShape(QSize size, double radius, double sigma, int reach, double opacity);

// The shadows of the surface panels inside one widget, the host: painted
// over the host's own drawing and under all of its children, so a shadow
// spreads past its panel's edges (a widget cannot paint outside itself)
// without hiding anything. A panel's host is the nearest panel around it,
// else the content of the scroll area it scrolls in, else the nearest
// widget that fills its own background. Moving, resizing, showing or hiding
// a panel or a widget between it and its host repaints the host.
class SurfaceShadowLayer : public QObject {
    Q_OBJECT

  public:
    // The host a widget's shadow is drawn in (null without one).
    static QWidget* hostFor(const QWidget* widget);
    // The layer of `host`, made on first use; a panel host paints it from its
    // own paintEvent, any other host through an event filter.
    static SurfaceShadowLayer* of(QWidget* host);
    // The layer of `host` if it has one.
    static SurfaceShadowLayer* existing(const QWidget* host);

    QWidget* host() const { return host_; }

    // `panel` has its shadow drawn here until it leaves or is destroyed.
    void join(SurfacePanel* panel);
    void leave(const SurfacePanel* panel);
    // Paints the shadows of the visible members within `region`.
    void paint(QPainter& painter, const QRegion& region);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit SurfaceShadowLayer(QWidget* host);
    void watchPath(SurfacePanel* panel);

    QWidget* host_;
    std::vector<QPointer<SurfacePanel>> members_;
    SurfaceShadowPainter painter_;
};

}  // namespace quorvane
