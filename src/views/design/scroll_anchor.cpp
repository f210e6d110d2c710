#include "views/design/scroll_anchor.hpp"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

namespace quorvane {

ScrollAnchor::ScrollAnchor(QScrollArea* area, QWidget* changing)
    : QObject(area), area_(area), changing_(changing) {}

void ScrollAnchor::hold() {
    held_ = nullptr;
    QWidget* content = area_->widget();
    if (!content || !area_->isVisible())
        return;
    QWidget* viewport = area_->viewport();
    const QPoint pointer = viewport->mapFromGlobal(QCursor::pos());
    const int viewY = viewport->rect().contains(pointer) ? pointer.y() : 0;
    held_ = pieceAt(content->mapFrom(viewport, QPoint(0, viewY)).y());
    if (held_)
        heldY_ = windowY(held_);
}

void ScrollAnchor::release() {
    QWidget* piece = held_;
    held_ = nullptr;
    if (!piece || !piece->isVisible())
        return;
    // The change only queued its layouts; run them now so the move is known
    // and made up for before the next paint.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const int moved = windowY(piece) - heldY_;
    if (moved == 0)
        return;
    QScrollBar* bar = area_->verticalScrollBar();
    bar->setValue(bar->value() + moved);
}

// The direct child of the content at `contentY`, or the first one below it
// when that height falls between children; never the changing widget.
QWidget* ScrollAnchor::pieceAt(int contentY) const {
    QWidget* best = nullptr;
    for (QObject* child : area_->widget()->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isHidden() || widget->isWindow())
            continue;
        if (changing_ && (widget == changing_ || widget->isAncestorOf(changing_)))
            continue;
        const QRect box = widget->geometry();
        if (box.bottom() < contentY)
            continue;
        if (!best || box.top() < best->geometry().top())
            best = widget;
    }
    return best;
}

int ScrollAnchor::windowY(const QWidget* widget) const {
    return widget->mapTo(widget->window(), QPoint(0, 0)).y();
}

}  // namespace quorvane
