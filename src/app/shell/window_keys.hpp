#pragma once

#include <QWidget>
#include <functional>

namespace quorvane {

// Which of the closing keys a top level answers.
struct WindowKeys {
    bool closeOnCtrlW = false;
    bool closeOnEscape = false;
};

// The keys the program's top levels answer as desktop windows do: Ctrl+Q
// runs `quit` from any of them; Ctrl+W and Escape close the window where
// `keys` asks. Escape reaches the window only when nothing in it took the
// key: a menu, a popup or a sheet open over it is a window of its own and
// closes first, and a control that answers Escape keeps it.
void addWindowKeys(QWidget* window, WindowKeys keys, std::function<void()> quit);

}  // namespace quorvane
