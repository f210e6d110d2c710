#include "views/access/reading_order.hpp"

#include <QAbstractButton>
#include <QRect>
#include <QWidget>
#include <algorithm>
#include <iterator>
#include <tuple>

namespace quorvane {

namespace {

// A child of a widget that holds controls of the chain, with its place in
// the widget.
struct Block {
    QRect rect;
    int index = 0;
    std::vector<QWidget*> stops;
};

bool isTabStop(const QWidget* widget) {
    return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !widget->focusProxy();
}

// A choice of a group of buttons (a picker's segment): Qt hands the group's
// one Tab stop to whichever choice takes the focus, by click or arrow key,
// without an event to relink on. Each choice is linked at its own place
// whether it is the stop now or not, so Tab goes on from any of them in
// reading order.
bool takesTheStopInTurn(const QWidget* widget) {
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    return button && button->isCheckable() && (button->group() || button->autoExclusive()) &&
           button->focusPolicy() != Qt::NoFocus && !button->focusProxy();
}

bool isLinked(const QWidget* widget) {
    return isTabStop(widget) || takesTheStopInTurn(widget);
}

// Where a line starts on its leading side comes first.
int leadingEdge(const QRect& rect, bool rightToLeft) {
    return rightToLeft ? -rect.right() : rect.left();
}

// Top to bottom; blocks whose heights overlap stand on one line, read from
// the leading side. A line holds the blocks that start above the bottom of
// the shortest block on it, so a tall block beside a column of short ones
// does not pull the whole column onto its line.
void sortIntoLines(std::vector<Block>& blocks, bool rightToLeft) {
    std::sort(blocks.begin(), blocks.end(), [rightToLeft](const Block& a, const Block& b) {
        return std::tuple(a.rect.top(), leadingEdge(a.rect, rightToLeft), a.index) <
               std::tuple(b.rect.top(), leadingEdge(b.rect, rightToLeft), b.index);
    });
    auto lineStart = blocks.begin();
    while (lineStart != blocks.end()) {
        int bandBottom = lineStart->rect.top() + lineStart->rect.height();
        auto lineEnd = std::next(lineStart);
        while (lineEnd != blocks.end() && lineEnd->rect.top() < bandBottom) {
            bandBottom = std::min(bandBottom, lineEnd->rect.top() + lineEnd->rect.height());
            ++lineEnd;
        }
        std::sort(lineStart, lineEnd, [rightToLeft](const Block& a, const Block& b) {
            return std::tuple(leadingEdge(a.rect, rightToLeft), a.rect.top(), a.index) <
                   std::tuple(leadingEdge(b.rect, rightToLeft), b.rect.top(), b.index);
        });
        lineStart = lineEnd;
    }
}

// The controls of the chain under `widget`, in reading order, with `held`
// (a widget holding the focus though Tab does not stop at it) at its place.
void collect(QWidget* widget, std::vector<QWidget*>& stops, const QWidget* held = nullptr) {
    if (isLinked(widget) || widget == held)
        stops.push_back(widget);
    std::vector<Block> shown;
    std::vector<Block> hidden;
    int index = 0;
    for (QObject* object : widget->children()) {
        if (!object->isWidgetType())
            continue;
        auto* child = static_cast<QWidget*>(object);
        // A window of its own (a dialog, a menu) has a chain of its own.
        if (child->isWindow())
            continue;
        Block block{child->geometry(), index++, {}};
        collect(child, block.stops, held);
        if (block.stops.empty())
            continue;
        (child->isHidden() ? hidden : shown).push_back(std::move(block));
    }
    const bool rightToLeft = widget->layoutDirection() == Qt::RightToLeft;
    for (auto* blocks : {&shown, &hidden}) {
        sortIntoLines(*blocks, rightToLeft);
        for (const Block& block : *blocks)
            stops.insert(stops.end(), block.stops.begin(), block.stops.end());
    }
}

// A widget that hands the focus to one of its own controls (Qt's dialog
// button box hands it to its first button): Qt takes it as a stop of its
// own, standing for that control, and expects it right before its controls.
// Left where the controls were taken from, Tab reaching it goes back to the
// first button, and everything after it in the chain is never reached.
bool isCompound(const QWidget* widget) {
    const QWidget* proxy = widget->focusProxy();
    return proxy && widget->isAncestorOf(proxy);
}

// Puts each compound widget of `window` right before the control it hands
// the focus to, where `stops` placed that control. Qt moves neither a widget
// that takes no focus nor a compound one on its own, so each is a plain
// stop for the moment it is moved.
void keepCompoundsBeforeTheirControls(QWidget* window, const std::vector<QWidget*>& stops) {
    for (QWidget* compound : window->findChildren<QWidget*>()) {
        if (compound->isWindow() || compound->window() != window || !isCompound(compound))
            continue;
        QWidget* proxy = compound->focusProxy();
        if (std::find(stops.begin(), stops.end(), proxy) == stops.end() ||
            proxy->previousInFocusChain() == compound)
            continue;
        QWidget* before = proxy->previousInFocusChain();
        const Qt::FocusPolicy beforePolicy = before->focusPolicy();
        const Qt::FocusPolicy policy = compound->focusPolicy();
        compound->setFocusProxy(nullptr);
        compound->setFocusPolicy(Qt::TabFocus);
        before->setFocusPolicy(static_cast<Qt::FocusPolicy>(beforePolicy | Qt::TabFocus));
        QWidget::setTabOrder(before, compound);
        before->setFocusPolicy(beforePolicy);
        compound->setFocusPolicy(policy);
        compound->setFocusProxy(proxy);
    }
}

}  // namespace

std::vector<QWidget*> tabStopsInReadingOrder(QWidget* root) {
    std::vector<QWidget*> linked;
    if (root)
        collect(root, linked);
    std::vector<QWidget*> stops;
    std::copy_if(linked.begin(), linked.end(), std::back_inserter(stops), isTabStop);
    return stops;
}

void applyReadingOrder(QWidget* window) {
    // A card given the focus for the moment is no stop of Tab's, but Tab
    // goes on from where it stands, not from wherever Qt left it in the
    // chain.
    const QWidget* held = window->focusWidget();
    if (held && (held->focusPolicy() == Qt::NoFocus || held == window))
        held = nullptr;
    std::vector<QWidget*> stops;
    collect(window, stops, held);
    if (stops.empty())
        return;
    // The chain starts at the window itself, where Qt looks for the control
    // a window opening on no control of its own focuses first. Qt links
    // only controls that take the focus, so the window takes it for the
    // moment.
    const Qt::FocusPolicy windowPolicy = window->focusPolicy();
    window->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(window, stops.front());
    window->setFocusPolicy(windowPolicy);
    for (std::size_t index = 1; index < stops.size(); ++index)
        QWidget::setTabOrder(stops[index - 1], stops[index]);
    keepCompoundsBeforeTheirControls(window, stops);
}

QWidget* firstTabStop(QWidget* root) {
    for (QWidget* stop : tabStopsInReadingOrder(root)) {
        if (stop->isVisibleTo(root) && stop->isEnabled())
            return stop;
    }
    return nullptr;
}

bool focusFirstTabStop(QWidget* root) {
    QWidget* first = firstTabStop(root);
    if (!first)
        return false;
    // The reason a window's own opening gives: no pick of the user's.
    first->setFocus(Qt::ActiveWindowFocusReason);
    return true;
}

}  // namespace quorvane
