#include "views/design/application_style.hpp"

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOption>
#include <QWidget>
#include <algorithm>

#include "presentation/design/control_metrics.hpp"
#include "presentation/design/scroll_bar_geometry.hpp"
#include "views/design/window_control_size.hpp"

namespace quorvane {

namespace {

ControlMetrics metricsFor(const QWidget* widget) {
    return controlMetrics(controlSizeOf(widget));
}

// The width Fusion gives a picker's drop-down area.
constexpr int kFusionPickerArrowWidth = 19;

// An open chevron pointing `direction`, `width` across, centred in `area`:
// the drop-down arrow of pickers and menu buttons.
void paintChevron(QPainter& painter, const QRect& area, Qt::ArrowType direction, int width,
                  const QColor& color) {
    const double across =
        std::min({static_cast<double>(width), area.width() - 2.0, area.height() - 2.0});
    if (across < 3)
        return;
    const double half = across / 2;
    const double depth = across / 4;
    const QPointF centre = QRectF(area).center();
    QPointF points[3];
    switch (direction) {
        case Qt::UpArrow:
            points[0] = centre + QPointF(-half, depth);
            points[1] = centre + QPointF(0, -depth);
            points[2] = centre + QPointF(half, depth);
            break;
        case Qt::LeftArrow:
            points[0] = centre + QPointF(depth, -half);
            points[1] = centre + QPointF(-depth, 0);
            points[2] = centre + QPointF(depth, half);
            break;
        case Qt::RightArrow:
            points[0] = centre + QPointF(-depth, -half);
            points[1] = centre + QPointF(depth, 0);
            points[2] = centre + QPointF(-depth, half);
            break;
        default:
            points[0] = centre + QPointF(-half, -depth);
            points[1] = centre + QPointF(0, depth);
            points[2] = centre + QPointF(half, -depth);
            break;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(
        QPen(color, std::max(1.5, across / 6), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(points, 3);
    painter.restore();
}

// A check box or radio button in the window's tint: filled with the accent
// (the palette's highlight) and marked in the highlighted-text colour when
// on, an outlined field when off, faded when disabled. The outline of an
// unchecked box is the secondary ink (the palette's placeholder text), so
// the control's edge stands out at well over 3 : 1 from the panel behind it
// in either scheme; the frame colour of fields would not.
void paintIndicator(QPainter& painter, const QStyleOption& option, bool round) {
    const bool on = option.state & (QStyle::State_On | QStyle::State_NoChange);
    const QPalette& palette = option.palette;
    const QRectF box = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = round ? box.width() / 2 : std::max(3.0, box.width() / 5);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (!(option.state & QStyle::State_Enabled))
        painter.setOpacity(0.45);
    const QColor accent = palette.color(QPalette::Active, QPalette::Highlight);
    if (on) {
        QColor fill = accent;
        if (option.state & QStyle::State_Sunken)
            fill = fill.darker(112);
        painter.setPen(QPen(fill, 1));
        painter.setBrush(fill);
    } else {
        painter.setPen(QPen(palette.color(QPalette::Active, QPalette::PlaceholderText), 1));
        painter.setBrush(palette.color(QPalette::Active, QPalette::Base));
    }
    painter.drawRoundedRect(box, radius, radius);
    if (on) {
        const QColor mark = palette.color(QPalette::Active, QPalette::HighlightedText);
        const double side = box.width();
        const QPointF origin = box.topLeft();
        if (round) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(mark);
            painter.drawEllipse(box.center(), side * 0.2, side * 0.2);
        } else if (option.state & QStyle::State_NoChange) {
            painter.setPen(QPen(mark, std::max(1.5, side / 8), Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(origin + QPointF(side * 0.28, side * 0.5),
                             origin + QPointF(side * 0.72, side * 0.5));
        } else {
            painter.setPen(
                QPen(mark, std::max(1.5, side / 8), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(Qt::NoBrush);
            const QPointF tick[3] = {origin + QPointF(side * 0.26, side * 0.52),
                                     origin + QPointF(side * 0.43, side * 0.69),
                                     origin + QPointF(side * 0.75, side * 0.33)};
            painter.drawPolyline(tick, 3);
        }
    }
    painter.restore();
}

// A scroll bar's parts: the whole length is track (no arrow buttons), the
// thumb where the position puts it and the pages on either side of it.
QRect scrollBarPart(const QStyleOptionSlider& bar, QStyle::SubControl part) {
    const bool horizontal = bar.orientation == Qt::Horizontal;
    const QRect whole = bar.rect;
    const int track = horizontal ? whole.width() : whole.height();
    ScrollThumb thumb = scrollThumb(track, bar.minimum, bar.maximum, bar.pageStep,
                                    bar.sliderPosition, kScrollBarMinimumThumb);
    if (bar.upsideDown)
        thumb.start = track - thumb.length - thumb.start;
    int from = 0;
    int length = 0;
    switch (part) {
        case QStyle::SC_ScrollBarGroove:
            return whole;
        case QStyle::SC_ScrollBarSlider:
            from = thumb.start;
            length = thumb.length;
            break;
        case QStyle::SC_ScrollBarSubPage:
            length = thumb.start;
            break;
        case QStyle::SC_ScrollBarAddPage:
            from = thumb.start + thumb.length;
            length = track - from;
            break;
        default:
            return {};
    }
    if (horizontal)
        return {whole.x() + from, whole.y(), length, whole.height()};
    return {whole.x(), whole.y() + from, whole.width(), length};
}

// A quiet track in the window's colours and a rounded thumb in the secondary
// text colour, stronger while pointed at or dragged.
void paintScrollBar(QPainter& painter, const QStyleOptionSlider& bar) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& palette = bar.palette;
    painter.fillRect(bar.rect, palette.color(QPalette::Window));
    const QRect thumb = scrollBarPart(bar, QStyle::SC_ScrollBarSlider);
    const bool scrollable = bar.maximum > bar.minimum && (bar.state & QStyle::State_Enabled);
    if (scrollable && thumb.isValid()) {
        const bool active = (bar.activeSubControls & QStyle::SC_ScrollBarSlider) &&
                            (bar.state & (QStyle::State_MouseOver | QStyle::State_Sunken));
        QColor ink = palette.color(QPalette::PlaceholderText);
        ink.setAlphaF(active ? 0.75 : 0.45);
        const QRectF shape = QRectF(thumb).adjusted(3, 3, -3, -3);
        const double radius = std::min(shape.width(), shape.height()) / 2;
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawRoundedRect(shape, radius, radius);
    }
    painter.restore();
}

}  // namespace

ApplicationStyle::ApplicationStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

int ApplicationStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                  const QWidget* widget) const {
    switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return metricsFor(widget).indicator;
        case PM_SliderThickness:
        case PM_SliderLength:
        case PM_SliderControlThickness:
            return metricsFor(widget).sliderHandle;
        case PM_MenuButtonIndicator:
            return metricsFor(widget).arrow + 6;
        case PM_SmallIconSize:
            return metricsFor(widget).menuIcon;
        case PM_ScrollBarExtent:
            return kScrollBarThickness;
        case PM_ScrollBarSliderMin:
            return kScrollBarMinimumThumb;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QSize ApplicationStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                         const QSize& size, const QWidget* widget) const {
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (!option)
        return result;
    const ControlMetrics metrics = metricsFor(widget);
    switch (type) {
        case CT_PushButton: {
            // Half the text's line height on each side and a little above
            // and below.
            const QFontMetrics font = widget ? QFontMetrics(widget->font()) : option->fontMetrics;
            result.rwidth() += font.height();
            result.rheight() += font.height() / 4;
            result.setHeight(std::max(result.height(), metrics.buttonMinHeight));
            break;
        }
        case CT_LineEdit: {
            // As tall as a push button of the same font beside it, whose
            // Korean label is laid out in the taller line of its fallback
            // font.
            const QFontMetrics font = widget ? QFontMetrics(widget->font()) : option->fontMetrics;
            const QSize label = font.size(Qt::TextSingleLine, QStringLiteral("가"));
            QStyleOptionButton button;
            button.QStyleOption::operator=(*option);
            button.fontMetrics = font;
            const QSize buttonSize = sizeFromContents(
                CT_PushButton, &button,
                QSize(label.width(), std::max(label.height(), font.height())), widget);
            result.setHeight(std::max(result.height(), buttonSize.height()));
            break;
        }
        case CT_ComboBox:
            result.rwidth() += std::max(0, metrics.pickerArrowWidth - kFusionPickerArrowWidth);
            result.setHeight(std::max(result.height(), metrics.buttonMinHeight));
            break;
        default:
            break;
    }
    return result;
}

QRect ApplicationStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                       SubControl subControl, const QWidget* widget) const {
    if (control == CC_ScrollBar) {
        if (const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option))
            return scrollBarPart(*bar, subControl);
    }
    QRect rect = QProxyStyle::subControlRect(control, option, subControl, widget);
    if (control == CC_Slider && subControl == SC_SliderHandle) {
        // A square thumb of the control size, placed along the track for the
        // slider's position (Fusion measures it without the widget).
        const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (!slider)
            return rect;
        const int side = metricsFor(widget).sliderHandle;
        const bool horizontal = slider->orientation == Qt::Horizontal;
        const QRect track = slider->rect;
        const int span = (horizontal ? track.width() : track.height()) - side;
        const int along =
            sliderPositionFromValue(slider->minimum, slider->maximum, slider->sliderPosition,
                                    std::max(span, 0), slider->upsideDown);
        const QPoint centre = track.center();
        if (horizontal)
            return {track.x() + along, centre.y() - side / 2, side, side};
        return {centre.x() - side / 2, track.y() + along, side, side};
    }
    if (control == CC_Slider && subControl == SC_SliderGroove) {
        // A track as thick as the control size wants, on Fusion's centre line.
        const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (!slider)
            return rect;
        const QPoint centre = rect.center();
        const int thickness = metricsFor(widget).sliderGroove;
        if (slider->orientation == Qt::Horizontal)
            rect.setHeight(thickness);
        else
            rect.setWidth(thickness);
        rect.moveCenter(centre);
        return rect;
    }
    if (control == CC_ComboBox &&
        (subControl == SC_ComboBoxArrow || subControl == SC_ComboBoxEditField)) {
        // A wider drop-down area for a larger arrow; the text keeps the rest.
        const int extra =
            std::max(0, metricsFor(widget).pickerArrowWidth - kFusionPickerArrowWidth);
        if (extra == 0)
            return rect;
        const bool leftToRight = option->direction == Qt::LeftToRight;
        if (subControl == SC_ComboBoxArrow)
            return leftToRight ? rect.adjusted(-extra, 0, 0, 0) : rect.adjusted(0, 0, extra, 0);
        return leftToRight ? rect.adjusted(0, 0, -extra, 0) : rect.adjusted(extra, 0, 0, 0);
    }
    return rect;
}

void ApplicationStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                          QPainter* painter, const QWidget* widget) const {
    if (control == CC_ScrollBar) {
        if (const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option)) {
            paintScrollBar(*painter, *bar);
            return;
        }
    }
    const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
    if (control != CC_ComboBox || !combo || !(combo->subControls & SC_ComboBoxArrow)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // Fusion's arrow stays a few pixels tall at every size: draw the picker
    // without it, then a chevron sized by the control size.
    QStyleOptionComboBox withoutArrow = *combo;
    withoutArrow.subControls &= ~SC_ComboBoxArrow;
    QProxyStyle::drawComplexControl(control, &withoutArrow, painter, widget);
    QColor color = combo->palette.color(QPalette::ButtonText);
    if (!(combo->state & State_Enabled))
        color = combo->palette.color(QPalette::Disabled, QPalette::ButtonText);
    const QRect area = subControlRect(CC_ComboBox, combo, SC_ComboBoxArrow, widget);
    paintChevron(*painter, area, Qt::DownArrow, metricsFor(widget).arrow, color);
}

void ApplicationStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    Qt::ArrowType direction = Qt::NoArrow;
    switch (element) {
        case PE_IndicatorCheckBox:
        case PE_IndicatorRadioButton:
            paintIndicator(*painter, *option, element == PE_IndicatorRadioButton);
            return;
        case PE_IndicatorArrowDown:
            direction = Qt::DownArrow;
            break;
        case PE_IndicatorArrowUp:
            direction = Qt::UpArrow;
            break;
        case PE_IndicatorArrowLeft:
            direction = Qt::LeftArrow;
            break;
        case PE_IndicatorArrowRight:
            direction = Qt::RightArrow;
            break;
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
    }
    // The drop-down arrows of menu buttons grow with the control size.
    const QPalette::ColorGroup group =
        option->state & State_Enabled ? QPalette::Normal : QPalette::Disabled;
    paintChevron(*painter, option->rect, direction, metricsFor(widget).arrow,
                 option->palette.color(group, QPalette::ButtonText));
}

}  // namespace quorvane
