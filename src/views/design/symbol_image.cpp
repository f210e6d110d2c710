#include "views/design/symbol_image.hpp"

#include <QEvent>
#include <QFontInfo>
#include <QPainter>

#include "views/design/layout_points.hpp"
#include "views/design/symbol_table.hpp"

namespace quorvane {

SymbolImage::SymbolImage(std::string systemName, QWidget* parent)
    : QWidget(parent), systemName_(std::move(systemName)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SymbolImage::setSystemName(std::string systemName) {
    if (systemName == systemName_)
        return;
    systemName_ = std::move(systemName);
    update();
}

void SymbolImage::setColor(const QColor& color) {
    color_ = color;
    update();
}

void SymbolImage::setFixedSide(int side) {
    fixedSide_ = side;
    updateGeometry();
    update();
}

int SymbolImage::sideForPoints(double points) {
    QFont font;
    font.setPointSizeF(qtFontPoints(points));
    return QFontInfo(font).pixelSize();
}

QSize SymbolImage::sizeHint() const {
    const int side = fixedSide_ > 0 ? fixedSide_ : fontMetrics().height();
    const QMargins margins = contentsMargins();
    return {side + margins.left() + margins.right(), side + margins.top() + margins.bottom()};
}

void SymbolImage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

void SymbolImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor color = color_.isValid() ? color_ : palette().color(QPalette::WindowText);
    const QRectF area = contentsRect();
    const double side = std::min(area.width(), area.height());
    // The symbol sits a little inside the line box, like a glyph of the font.
    const double inset = side * 0.08;
    const QRectF square(area.x() + (area.width() - side) / 2 + inset,
                        area.y() + (area.height() - side) / 2 + inset, side - 2 * inset,
                        side - 2 * inset);
    paintSymbol(painter, square, systemName_, color);
}

}  // namespace quorvane
