#pragma once

class QString;
class QWidget;

namespace quorvane {

// Tells a screen reader, once and unasked, what just happened beside the
// focus: the result of the user's own action ("프리셋 적용됨: 아침"), a
// check that ended, a prompt that appeared. The text is drawn where the
// window shows it already; this only makes it heard.
//
// Qt's AT-SPI bridge sends a name or description change with the object in
// place of the new words, which a screen reader drops; it does send a
// notification's "showing" change, which a screen reader answers by reading
// the notification's name at once. Each window holds one such notification,
// a pixel that draws nothing and takes no focus, named by what it last
// said; every text said during one turn of the event loop is said together,
// in order, once, so two results of one press are heard as one sentence
// rather than the second cutting the first short. It shows only for the
// moment it speaks, so a review of the window never finds words that may
// no longer hold, and only in the window the user is in: a check ending
// while another window or program has the focus says nothing. A dialog's
// words are said by its parent window's notification, so a screen reader
// does not read the dialog's title and description before each of them.
//
// Usage:
//   speakNotice(button, QString::fromStdString(store.statusMessage()));
void speakNotice(QWidget* near, const QString& text);

// The notification that speaks for `window`, or null while it has said
// nothing.
QWidget* spokenNoticeOf(QWidget* window);

}  // namespace quorvane
