#pragma once

class QFileDialog;
class QObject;

namespace quorvane {

// The dialog's file list tells each file's type, and draws its icon, from
// its name alone; folders keep their own. Qt's own list opens a file whose
// name does not tell its type to read its first bytes, on the thread that
// runs the windows: in /proc a read of kmsg never returns (run as root), and
// a FIFO-like file or a stalled network mount would hold it the same way,
// the program hanging for good. The dialog owns what it is given.
void typeFilesByName(QFileDialog& dialog);
// What owns the icons typeFilesByName() gave `dialog`, for a model that is
// to outlive it; none where it gave none.
QObject* fileIconsOf(const QFileDialog& dialog);

}  // namespace quorvane
