#pragma once

#include <QObject>
#include <QPointer>

class QScrollArea;
class QWidget;

namespace quorvane {

// Keeps what the user is looking at in a scroll area where it is while
// something above it changes height: a banner that appears over the page or
// goes away, inside the scrolled content or just above the scroll area.
//
// hold(), just before the change, notes the piece of the content under the
// pointer (with the pointer elsewhere, the piece at the top of the view) and
// where it stands in the window; release(), just after, lets the pending
// layouts settle at once (before anything is painted) and scrolls by however
// far that piece moved, so the slider the user just released stays under the
// pointer. A piece above the change does not move, so nothing scrolls; the
// changing widget itself is never the piece followed. Where the scroll range
// is too short to make up the whole move, the view goes as far as it can.
//
// Usage:
//   anchor_ = new ScrollAnchor(scroll, banner);
//   connect(banner, &Banner::aboutToChange, anchor_, &ScrollAnchor::hold);
//   connect(banner, &Banner::changed, anchor_, &ScrollAnchor::release);
class ScrollAnchor final : public QObject {
    Q_OBJECT

  public:
    // `changing` is the widget whose height changes (never followed); it may
    // lie inside the scrolled content or outside the scroll area.
    ScrollAnchor(QScrollArea* area, QWidget* changing);

    void hold();
    void release();

  private:
    QWidget* pieceAt(int contentY) const;
    int windowY(const QWidget* widget) const;

    QScrollArea* area_;
    QPointer<QWidget> changing_;
    QPointer<QWidget> held_;
    int heldY_ = 0;
};

// Runs at once the layouts a change to `changed` queued, level by level up
// to its window (every queued layout when it is null), so what is measured
// next stands where the next paint will show it.
void settleLayouts(const QWidget* changed);

}  // namespace quorvane
