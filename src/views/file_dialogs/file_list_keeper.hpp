#pragma once

class QFileSystemModel;
class QObject;

namespace quorvane {

// A file dialog's file list (its QFileSystemModel) reads folders on a
// thread of its own, which waits in the kernel on a mount that stopped
// answering (one the dialog showed, one typed into it); deleting the model
// waits for that thread. A model, and every object it holds, goes on the
// thread it lives on (the window thread): kept aside, not deleted, while
// its reading thread may still be busy, and deleted once that thread is
// known free.

// Follows which thread reads for `model` from now on, while its dialog
// runs.
void followFileListReading(QFileSystemModel& model);

// Takes `model`, and `icons` it reads with (may be null), from their owners
// once their dialog has gone: both are deleted on the window thread once
// the reading thread is free (the icons after the model), kept aside until
// then, and left as they are when the program ends.
void letFileListGo(QFileSystemModel& model, QObject* icons);

}  // namespace quorvane
