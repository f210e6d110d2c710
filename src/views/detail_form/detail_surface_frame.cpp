#include "views/detail_form/detail_surface_frame.hpp"

#include <QPainter>

#include "views/design/theme.hpp"

namespace quorvane {

DetailSurfaceFrame::DetailSurfaceFrame(Theme& theme, DetailSurface surface, int padding,
                                       QWidget* parent)
    : QWidget(parent), theme_(theme), surface_(surface) {
    setContentsMargins(padding, padding, padding, padding);
    connect(&theme_, &Theme::changed, this, qOverload<>(&QWidget::update));
}

void DetailSurfaceFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintDetailSurface(painter, rect(), theme_, surface_);
}

void paintDetailSurface(QPainter& painter, const QRectF& rect, const Theme& theme,
                        DetailSurface surface) {
    const auto look = detailSurfaceLook(surface, theme.scheme());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = std::min<double>(look.cornerRadius, shape.height() / 2);
    painter.setBrush(theme.color(look.fill));
    if (look.border.opacity > 0)
        painter.setPen(QPen(theme.color(look.border), 1));
    else
        painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(shape, radius, radius);
    painter.restore();
}

}  // namespace quorvane
