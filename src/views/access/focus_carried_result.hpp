#pragma once

class QString;
class QWidget;

namespace quorvane {

// Has a screen reader hear `text`, the result of an action the user waited
// on through a dialog ("설정 내보내기 완료"), with `control`, the one the
// focus lands on as the dialog's window is back: `control` is labelled by
// the result followed by its own name, which a screen reader reads with the
// control's role whatever its settings ("설정 내보내기 완료. 내보내기 push
// button"), where a description is read only when the user asked for
// descriptions.
//
// A screen reader flooded by the events a closing dialog leaves (a long
// typed path, a folder listed) prunes its queue down to where the focus
// went: a notification shown beside the focus is dropped, the focus landing
// is not. One that falls behind skips a landing whose control no longer
// holds the focus when it gets to it, so the result goes with the focus
// (whenTheFocusLeavesTheCarrier()) until a screen reader has asked for the
// label; once the focus moves on after that, the control reads as before.
// The result is over too as the control hides or the next result comes.
//
// Usage, as the window is about to take the focus back:
//   carryWithFocus(window->focusWidget(), result);
void carryWithFocus(QWidget* control, const QString& text);

// The result `control` carries, or an empty text.
QString carriedResult(const QWidget* control);

}  // namespace quorvane
