#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

#include "views/access/disabled_focus_hand_over.hpp"

class QWidget;

namespace quorvane {

// The way a keyboard and a screen reader go through every window of the
// application, kept as a person sees the window:
// - Tab follows the window's reading order (applyReadingOrder()), also for
//   the controls built or moved after the window opened: whenever a widget
//   of a shown window is added, shown, hidden, moved or resized, the
//   window's chain is linked again one event-loop turn later; a window is
//   linked at once when it shows (before it hands out its first focus).
// - A control that takes the focus other than by a click is scrolled into
//   view, whole, in every scroll area around it, so the focus is never off
//   screen.
// - A control that turns disabled while it holds the focus (often by its
//   own press) hands it to its nearest neighbour on the same page, the
//   page where it was (DisabledFocusHandOver); one that greys or hides
//   only while its own work runs takes it back once done.
// - Return and Enter press the focused button or card as Space does, in
//   every window.
// - A menu whose item runs while the menu still shows (pressed through
//   assistive technology, which runs the item but leaves its menu open)
//   closes as it does when the item is chosen with the keyboard.
//
// One follower per application, created after the application object and
// living as long as the windows it follows (the application shell keeps it
// beside its theme).
class KeyboardPathFollower : public QObject {
    Q_OBJECT

  public:
    explicit KeyboardPathFollower(QObject* parent = nullptr);
    ~KeyboardPathFollower() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void windowChanged(QWidget* window);
    void relinkChangedWindows();

    std::vector<QPointer<QWidget>> changedWindows_;
    bool relinkPosted_ = false;
    DisabledFocusHandOver handOver_;
};

}  // namespace quorvane
