#pragma once

class QFileDialog;

namespace quorvane {

// The file system answers for a path typed into the dialog's name field on
// a thread of its own before the dialog looks at it. Qt's dialog looks at
// every text typed there (does it exist, is it a folder, how long a name its
// folder takes) and at the path again as it is accepted, on the thread that
// runs the windows: a folder on a mount whose server stopped answering (a
// dead sshfs, a stalled network share) held the windows for good. Here a
// thread of its own asks first, and Qt's own handling of the text runs once
// the file system has answered, for the latest question alone: a newer text
// is asked about at once, unless its way leads through the place an older
// question still waits on, and wins over an older answer still awaited
// (PathLookUps keeps the threads that wait few).
// Return and the accept button ask afresh and accept the text typed once
// answered. A folder or file opened from the file list (Return, a double
// click) is asked about the same way before the dialog opens it. While an
// answer is a moment late the accept button is off and says that the dialog
// is waiting, and a screen reader hears that once, until the wait ends. A
// dialog closed, or left by the window it was opened over, is cancelled: an
// answer that comes later does nothing. A dialog that goes leaves its file
// list's model aside until the model's reading thread, which may be waiting
// on a mount, is free (letFileListGo()).
// The dialog owns what it is given; without Qt's own name field and
// buttons, the dialog is left as it is.
void checkTypedPathsOffTheWindowThread(QFileDialog& dialog);

}  // namespace quorvane
