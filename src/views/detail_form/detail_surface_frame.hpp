#pragma once

#include <QWidget>

#include "presentation/detail_form/detail_form_surfaces.hpp"

namespace quorvane {

class Theme;

// A rounded surface of the detail form (step card, metric tile, preview
// card, status chip, pictogram parts) drawn in the theme's scheme. The
// padding is the widget's contents margins.
class DetailSurfaceFrame : public QWidget {
    Q_OBJECT

  public:
    DetailSurfaceFrame(Theme& theme, DetailSurface surface, int padding = 0,
                       QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Theme& theme_;
    DetailSurface surface_;
};

// Paints one detail surface into `rect` (for widgets drawing it themselves).
void paintDetailSurface(QPainter& painter, const QRectF& rect, const Theme& theme,
                        DetailSurface surface);

}  // namespace quorvane
