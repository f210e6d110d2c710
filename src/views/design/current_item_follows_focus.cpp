#include "views/design/current_item_follows_focus.hpp"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QSignalBlocker>

namespace quorvane {

namespace {

// Where the item set aside waits: on the selection model, which the views
// sharing it share too.
constexpr const char* kSetAsideProperty = "quorvaneCurrentSetAside";

// Changes the current item without a word to anyone: the move is no
// user's, and neither the dialog nor its sidebar (which goes to the place
// made current) may act on it.
void setCurrentQuietly(QItemSelectionModel& model, const QModelIndex& index) {
    const QSignalBlocker quiet(&model);
    model.setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

// Whether the focus is in a view showing `model` (one of a file dialog's
// two views of the folder).
bool focusIsIn(const QItemSelectionModel* model) {
    const auto* focused = qobject_cast<const QAbstractItemView*>(QApplication::focusWidget());
    return focused && focused->selectionModel() == model;
}

}  // namespace

CurrentItemFollowsFocus::CurrentItemFollowsFocus(QAbstractItemView& view)
    : QObject(&view), view_(view) {
    view.installEventFilter(this);
    // An item made current while the focus is elsewhere (the dialog picks
    // the folder it came from) goes aside too, once the change is told.
    if (QItemSelectionModel* model = view.selectionModel())
        connect(
            model, &QItemSelectionModel::currentChanged, this,
            [this, model] {
                if (!focusIsIn(model))
                    setAside();
            },
            Qt::QueuedConnection);
    if (!focusIsIn(view.selectionModel()))
        setAside();
}

bool CurrentItemFollowsFocus::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &view_)
        return false;
    if (event->type() == QEvent::FocusIn)
        putBack();
    else if (event->type() == QEvent::FocusOut &&
             static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        setAside();
    return false;
}

void CurrentItemFollowsFocus::setAside() {
    QItemSelectionModel* model = view_.selectionModel();
    if (!model || !model->currentIndex().isValid())
        return;
    model->setProperty(kSetAsideProperty,
                       QVariant::fromValue(QPersistentModelIndex(model->currentIndex())));
    setCurrentQuietly(*model, {});
}

void CurrentItemFollowsFocus::putBack() {
    QItemSelectionModel* model = view_.selectionModel();
    if (!model)
        return;
    const auto setAside = model->property(kSetAsideProperty).value<QPersistentModelIndex>();
    model->setProperty(kSetAsideProperty, {});
    if (setAside.isValid() && !model->currentIndex().isValid())
        setCurrentQuietly(*model, setAside);
}

void followFocusWithCurrentItems(QWidget& window) {
    for (auto* view : window.findChildren<QAbstractItemView*>()) {
        if (view->window() == &window)
            new CurrentItemFollowsFocus(*view);
    }
}

}  // namespace quorvane
