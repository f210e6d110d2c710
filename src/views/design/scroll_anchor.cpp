#include "views/design/scroll_anchor.hpp"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>

namespace quorvane {

namespace {

// How many widgets stand between `widget` and its window, its own children
// included (the boxes inside it lay out before it).
int depthInWindow(const QWidget* widget) {
    int depth = 0;
    for (const QWidget* above = widget; above && !above->isWindow(); above = above->parentWidget())
        ++depth;
    int inside = 0;
    for (const QWidget* child : widget->findChildren<QWidget*>()) {
        int levels = 0;
        for (const QWidget* up = child; up && up != widget; up = up->parentWidget())
            ++levels;
        inside = std::max(inside, levels);
    }
    return depth + inside;
}

}  // namespace

void settleLayouts(const QWidget* changed) {
    // A new size climbs the widget tree one layout request at a time (a
    // label's new text reaches the page through every box around it), so
    // one round per level: a single round would leave a half-settled page.
    const int rounds = changed ? depthInWindow(changed) : 1;
    for (int round = 0; round <= rounds; ++round)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

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
    settleLayouts(changing_);
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
