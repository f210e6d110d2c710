#pragma once

#include <QWidget>
#include <functional>

namespace quorvane {

// Which of the closing keys a top level answers.
struct WindowKeys {
    bool closeOnCtrlW = false;
    bool closeOnEscape = false;
};

// The keys the program's top levels answer as desktop windows do, in every
// state of the window: Ctrl+Q runs `quit` from any of them; Ctrl+W closes
// the window where `keys` asks, with whatever is open over it (a menu, a
// picker's list, a sheet); both also while such a menu, list or sheet has
// the keyboard. Escape reaches the window only when nothing in it took the
// key: a menu, a popup or a sheet open over it is a window of its own and
// closes first, and a control that answers Escape keeps it.
void addWindowKeys(QWidget* window, WindowKeys keys, std::function<void()> quit);

}  // namespace quorvane
