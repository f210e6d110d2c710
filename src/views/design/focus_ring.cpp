#include "views/design/focus_ring.hpp"

#include <QEvent>
#include <QPainter>
#include <QPen>
#include <QScrollArea>

namespace quorvane {

namespace {

constexpr double kRingWidth = 2;
// The ring and the room kept between it and the widget it surrounds.
constexpr int kRingMargin = 4;
constexpr double kRingRadius = 6;

// Where the ring is drawn: the scrolled content the widget sits in, else its
// window, whose margins leave room for it around the widget.
QWidget* roomAround(QWidget* around) {
    QWidget* room = around->parentWidget();
    for (; room && !room->isWindow(); room = room->parentWidget()) {
        QWidget* viewport = room->parentWidget();
        auto* area = viewport ? qobject_cast<QScrollArea*>(viewport->parentWidget()) : nullptr;
        if (area && area->widget() == room)
            break;
    }
    return room;
}

}  // namespace

void paintFocusRing(QPainter& painter, const QRectF& line, double radius, const QColor& accent) {
    QColor ink = accent;
    ink.setAlphaF(0.9f * accent.alphaF());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, kRingWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(line, radius, radius);
    painter.restore();
}

FocusRing::FocusRing(QWidget* around) : QFocusFrame(roomAround(around)), around_(around) {
    // Moved with any widget between it and the ring's own parent.
    for (QWidget* mover = around; mover && mover != parentWidget(); mover = mover->parentWidget())
        mover->installEventFilter(this);
    // The widget gone, a ring around nothing would stay drawn.
    connect(around, &QObject::destroyed, this, &QObject::deleteLater);
    place();
    show();
}

bool FocusRing::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        place();
    return false;
}

void FocusRing::place() {
    if (!around_)
        return;
    const QRect widget(around_->mapTo(parentWidget(), QPoint(0, 0)), around_->size());
    setGeometry(widget.adjusted(-kRingMargin, -kRingMargin, kRingMargin, kRingMargin) &
                parentWidget()->rect());
    raise();
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const double inset = kRingWidth / 2;
    paintFocusRing(painter, QRectF(rect()).adjusted(inset, inset, -inset, -inset), kRingRadius,
                   palette().color(QPalette::Highlight));
}

}  // namespace quorvane
