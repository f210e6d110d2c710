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
// the file system has answered for it, for the text the field still holds;
// Return and the accept button ask afresh and accept once answered. A
// folder or file opened from the file list (Return, a double click) is
// asked about the same way before the dialog opens it. While
// an answer is a moment late the accept button is off and says that the
// dialog is waiting. A dialog that goes while an answer is still awaited
// leaves its file list's model behind until then: the model's own thread
// may be waiting on the same mount, and deleting the model waits for it.
// The dialog owns what it is given; without Qt's own name field and
// buttons, the dialog is left as it is.
void checkTypedPathsOffTheWindowThread(QFileDialog& dialog);

}  // namespace quorvane
