#include "views/access/dialog_hand_back.hpp"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDialog>
#include <QEvent>

namespace quorvane {

DialogHandBack::DialogHandBack(QDialog& dialog) : QObject(&dialog), dialog_(dialog) {
    dialog.installEventFilter(this);
}

bool DialogHandBack::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &dialog_ && event->type() == QEvent::Hide)
        closeCompletionLists();
    return false;
}

void DialogHandBack::closeCompletionLists() {
    for (QCompleter* completer : dialog_.findChildren<QCompleter*>()) {
        if (QAbstractItemView* list = completer->popup())
            list->hide();
    }
}

}  // namespace quorvane
