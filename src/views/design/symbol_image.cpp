#include "views/design/symbol_image.hpp"

#include <QEvent>
#include <QPainter>
#include <algorithm>

#include "views/access/accessible_role.hpp"
#include "views/design/symbol_side.hpp"
#include "views/design/symbol_table.hpp"

namespace quorvane {

SymbolImage::SymbolImage(std::string systemName, QWidget* parent)
    : QWidget(parent), systemName_(std::move(systemName)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Decoration: the text beside it says what it means.
    hideFromAccessibility(this);
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

int SymbolImage::side() const {
    return fixedSide_ > 0 ? fixedSide_ : symbolSide(font());
}

QSize SymbolImage::sizeHint() const {
    const int side = this->side();
    // A symbol that follows its font stands in a box as tall as the font's
    // line, so it centres on the text beside it as a glyph of the font would.
    const int height = fixedSide_ > 0 ? side : std::max(side, fontMetrics().height());
    const QMargins margins = contentsMargins();
    return {side + margins.left() + margins.right(), height + margins.top() + margins.bottom()};
}

std::optional<int> SymbolImage::firstBaseline(int) const {
    if (fixedSide_ > 0)
        return std::nullopt;
    const QMargins margins = contentsMargins();
    return margins.top() +
           centredFontBaseline(font(), sizeHint().height() - margins.top() - margins.bottom());
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
    const double side = std::min({area.width(), area.height(), static_cast<double>(this->side())});
    const QRectF square(area.x() + (area.width() - side) / 2, area.y() + (area.height() - side) / 2,
                        side, side);
    paintSymbol(painter, square, systemName_, color);
}

}  // namespace quorvane
