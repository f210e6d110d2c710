#include "views/access/keyboard_path_follower.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QChildEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>

#include "views/access/accessible_card.hpp"
#include "views/access/reading_order.hpp"

namespace quorvane {

namespace {

// How far clear of the view's edge a control brought into view stands, as
// Qt keeps a control Tab reaches in a scroll area.
constexpr int kShownMargin = 50;
// The focus ring drawn around a control reaches this far out of its box.
constexpr int kFocusRingMargin = 3;

// Along one axis of a scroll area: scrolls by the least that shows the span
// [start, end] whole with its focus ring, `kShownMargin` clear of the edge
// it comes in by where the view has room (centred where it has not, its
// start first where even the span alone does not fit). A span in view
// already leaves the bar where it is.
void showSpan(QScrollBar* bar, int start, int end, int visibleStart, int viewLength) {
    const int visibleEnd = visibleStart + viewLength - 1;
    const int ringStart = start - kFocusRingMargin;
    const int ringEnd = end + kFocusRingMargin;
    if (ringStart >= visibleStart && ringEnd <= visibleEnd)
        return;
    if (ringEnd - ringStart + 1 > viewLength) {
        bar->setValue(ringStart);
    } else if (end - start + 1 + 2 * kShownMargin > viewLength) {
        bar->setValue((start + end) / 2 - viewLength / 2);
    } else if (ringEnd > visibleEnd) {
        bar->setValue(end + kShownMargin - viewLength + 1);
    } else {
        bar->setValue(start - kShownMargin);
    }
}

// Scrolls `area` so `rect`, in the scrolled content's coordinates, shows
// whole with its focus ring.
void showRect(QScrollArea* area, const QRect& rect) {
    const QPoint offset = -area->widget()->pos();
    const QSize view = area->viewport()->size();
    showSpan(area->horizontalScrollBar(), rect.left(), rect.right(), offset.x(), view.width());
    showSpan(area->verticalScrollBar(), rect.top(), rect.bottom(), offset.y(), view.height());
}

// Every scroll area around `control`, innermost first, shows the whole of
// it, or the whole card a screen reader reads in its place: never only a
// text field's cursor, which leaves the rest of the field under the edge.
void scrollIntoView(QWidget* control) {
    QWidget* shown = cardReadAsOneButton(control);
    if (!shown)
        shown = control;
    for (QWidget* ancestor = shown->parentWidget(); ancestor && !ancestor->isWindow();
         ancestor = ancestor->parentWidget()) {
        auto* area = qobject_cast<QScrollArea*>(ancestor);
        if (area && area->widget() && area->widget()->isAncestorOf(shown))
            showRect(area, QRect(shown->mapTo(area->widget(), QPoint(0, 0)), shown->size()));
    }
}

// A menu closes when one of its items runs while it still shows; chosen
// with the keyboard or the pointer it has closed already.
void closeWhenAnItemRuns(QMenu* menu) {
    QObject::connect(menu, &QMenu::triggered, menu, [menu] {
        if (menu->isVisible())
            menu->hide();
    });
}

// Return and Enter press the focused button or card as Space does: the key
// reaches the button as Space, pressed and released, so a button that acts
// on release, holds while down or opens a menu does the same for either.
bool pressAsSpace(QObject* watched, QKeyEvent* key) {
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (modifiers != Qt::NoModifier || !button || !button->hasFocus())
        return false;
    QKeyEvent space(key->type(), Qt::Key_Space, modifiers, QStringLiteral(" "), key->isAutoRepeat(),
                    static_cast<quint16>(key->count()));
    QCoreApplication::sendEvent(button, &space);
    key->setAccepted(space.isAccepted());
    return true;
}

}  // namespace

KeyboardPathFollower::KeyboardPathFollower(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

KeyboardPathFollower::~KeyboardPathFollower() {
    if (auto* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

bool KeyboardPathFollower::eventFilter(QObject* watched, QEvent* event) {
    // Every event of the application passes here: leave at once unless it
    // changes a widget's place or focus, or presses a key on it.
    const auto type = event->type();
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return pressAsSpace(watched, static_cast<QKeyEvent*>(event));
        case QEvent::ChildAdded:
            if (!static_cast<QChildEvent*>(event)->child()->isWidgetType())
                return false;
            break;
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::ParentChange:
        case QEvent::LayoutDirectionChange:
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::EnabledChange:
        case QEvent::Polish:
            break;
        default:
            return false;
    }
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (type == QEvent::Polish) {
        if (auto* menu = qobject_cast<QMenu*>(widget))
            closeWhenAnItemRuns(menu);
        return false;
    }
    if (type == QEvent::FocusIn) {
        // A click lands where the user looks already; a control Qt hands
        // the focus to as the last one turns disabled holds it only until
        // the hand-over picks the neighbour.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason &&
            !handOver_.handingOver())
            scrollIntoView(widget);
        return false;
    }
    if (type == QEvent::FocusOut) {
        handOver_.focusOut(widget);
        // Qt ends a hand-over in the same call; never let one outlive it.
        if (handOver_.handingOver())
            QMetaObject::invokeMethod(
                this, [this] { handOver_.forget(); }, Qt::QueuedConnection);
        return false;
    }
    if (type == QEvent::EnabledChange) {
        if (handOver_.enabledChanged(widget)) {
            if (QWidget* picked = QApplication::focusWidget())
                scrollIntoView(picked);
        }
        return false;
    }
    if (type == QEvent::Hide)
        handOver_.hiding(widget);
    else if (type == QEvent::Show)
        handOver_.shown(widget);
    QWidget* window = widget->window();
    // Every widget of a window has shown by the time the window's own show
    // arrives, and the window hands out its first focus just after.
    if (widget == window && type == QEvent::Show) {
        applyReadingOrder(window);
        return false;
    }
    windowChanged(window);
    return false;
}

void KeyboardPathFollower::windowChanged(QWidget* window) {
    // A window not on screen is linked as it shows.
    if (!window->isVisible())
        return;
    if (std::find(changedWindows_.begin(), changedWindows_.end(), window) == changedWindows_.end())
        changedWindows_.emplace_back(window);
    if (relinkPosted_)
        return;
    relinkPosted_ = true;
    QMetaObject::invokeMethod(this, &KeyboardPathFollower::relinkChangedWindows,
                              Qt::QueuedConnection);
}

void KeyboardPathFollower::relinkChangedWindows() {
    relinkPosted_ = false;
    auto windows = std::move(changedWindows_);
    changedWindows_.clear();
    for (const auto& window : windows) {
        if (window)
            applyReadingOrder(window);
    }
}

}  // namespace quorvane
