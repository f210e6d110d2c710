#pragma once

class QDialog;

namespace quorvane {

// Once `dialog` closes (accepted, rejected or closed), the window it was
// opened over asks to be the active window again, so that the keyboard
// reaches it (Tab, Escape, Ctrl+W) and the result held for it is said;
// see openerAsksForTheKeyboard() for when it asks.
//
// Usage, before the dialog opens:
//   handKeyboardBackOnClose(*dialog);
void handKeyboardBackOnClose(QDialog& dialog);

}  // namespace quorvane
