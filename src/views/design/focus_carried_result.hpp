#pragma once

class QString;
class QWidget;

namespace quorvane {

// Has a screen reader hear `text`, the result of an action the user waited
// on through a dialog ("설정 내보내기 완료"), as part of `control`, the one
// the focus lands on as the dialog's window is back: `control` is described
// by the result ("내보내기 push button, 설정 내보내기 완료") until the focus
// leaves it, the window hides or the next result comes; then it reads as
// before.
//
// A screen reader flooded by the events a closing dialog leaves (a long
// typed path, a folder listed) prunes its queue down to where the focus
// went and what the focused control says: a notification shown beside the
// focus is dropped, the focus landing is not, and it reads the control's
// description as it reads the control. Read with the focus, the result is
// said once, in the window the user is back in, after its title.
//
// Usage, as the window is about to take the focus back:
//   carryWithFocus(window->focusWidget(), result);
void carryWithFocus(QWidget* control, const QString& text);

// The result `control` carries, or an empty text.
QString carriedResult(const QWidget* control);

}  // namespace quorvane
