#pragma once

#include <QPointer>
#include <vector>

class QScrollBar;
class QWidget;

namespace quorvane {

// Where the focus goes when the control holding it turns disabled, most
// often through its own press: a save button as its field empties, a probe
// greyed while it runs, a step button at the end of its range. Qt hands the
// focus on to the next control of the window's chain, which can wrap round
// to the top of the window, and scrolls to it. Here the focus stays where
// the user was instead: on the nearest control that still takes it, in the
// same row, else the same card, up to the same page, the one before it in
// reading order first (a save button hands back to its field), and every
// scroll area of the window stays where it was.
//
// A control that greys only while its own work runs (a check of the
// monitor) takes the focus back when it is enabled again, as long as the
// focus still stands where it was handed (returnsFocusWhenDone()): the user
// who pressed it is back on it to hear its result or press it again.
//
// The application's keyboard path follower feeds it the focus and enabled
// changes of every widget.
class DisabledFocusHandOver {
  public:
    // `control` loses the focus; when it is because it turned disabled,
    // notes where the window's scroll areas stand.
    void focusOut(QWidget* control);
    // True while Qt hands the focus on from a control that turned
    // disabled: the control it picks holds the focus only for a moment.
    bool handingOver() const { return !from_.isNull(); }
    // `control` turned enabled or disabled (sent once Qt has handed its
    // focus on): the focus goes to its neighbour, the page where it was.
    // True when a hand-over ends with no neighbour on the page: the
    // control Qt picked keeps the focus, and is yet to be shown.
    bool enabledChanged(QWidget* control);
    // `control` hides, or shows again. One that greys only while its own
    // work runs may hide for it instead (its place taken by a progress
    // line): holding the focus, it hands it to its neighbour as when it
    // greys, and takes it back when it shows again.
    void hiding(QWidget* control);
    void shown(QWidget* control);
    // Drops a hand-over whose end never came (called a turn later).
    void forget();

  private:
    struct Lent {
        QPointer<QWidget> owner;
        QPointer<QWidget> holder;
    };

    void lend(QWidget* control, QWidget* neighbour);
    void takeBack(QWidget* control);

    struct ScrollPlace {
        QPointer<QScrollBar> bar;
        int value = 0;
    };

    QPointer<QWidget> from_;
    std::vector<ScrollPlace> places_;
    Lent lent_;
};

// Marks `control` as greying only while its own work runs: once enabled
// again it takes back the focus it handed on, unless the user moved it.
void returnsFocusWhenDone(QWidget* control);

// The control nearest `control` that takes the focus now (shown, enabled):
// in the innermost widget around both, searched from `control` outwards,
// the one before it in reading order first; never beyond the scrolled page
// (or the window) that holds `control`. Null when there is none.
QWidget* nearestTabStop(QWidget* control);

}  // namespace quorvane
