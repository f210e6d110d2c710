#include "views/access/current_item_follows_focus.hpp"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
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

// The file a file dialog's name field names in the folder `view` shows,
// else the folder's first item.
QModelIndex namedOrFirst(const QFileDialog& dialog, const QAbstractItemView& view) {
    const QAbstractItemModel* model = view.model();
    if (!model)
        return {};
    const QModelIndex first = model->index(0, 0, view.rootIndex());
    if (!first.isValid())
        return {};
    const auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name && !name->text().isEmpty()) {
        const auto named = model->match(first, Qt::DisplayRole, name->text(), 1,
                                        Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (!named.isEmpty())
            return named.front();
    }
    return first;
}

}  // namespace

CurrentItemFollowsFocus::CurrentItemFollowsFocus(QAbstractItemView& view, Pick pick)
    : QObject(&view), view_(view), pick_(std::move(pick)) {
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
    if (event->type() == QEvent::FocusIn) {
        putBack();
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason)
            pickWhereFocused();
    } else if (event->type() == QEvent::FocusOut &&
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

// Selected as well as current, as an arrow key would: the dialog fills its
// name field from the selection, and opens what it names.
void CurrentItemFollowsFocus::pickWhereFocused() {
    QItemSelectionModel* model = view_.selectionModel();
    if (!pick_ || !model || model->currentIndex().isValid() || !focusIsIn(model))
        return;
    const QModelIndex picked = pick_(view_);
    if (picked.isValid())
        model->setCurrentIndex(picked,
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void followFocusWithCurrentItems(QFileDialog& dialog) {
    for (auto* view : dialog.findChildren<QAbstractItemView*>()) {
        if (view->window() != &dialog)
            continue;
        const bool folder = view->objectName() == QLatin1String("listView") ||
                            view->objectName() == QLatin1String("treeView");
        if (!folder) {
            new CurrentItemFollowsFocus(*view);
            continue;
        }
        auto* follower = new CurrentItemFollowsFocus(
            *view,
            [&dialog](const QAbstractItemView& shown) { return namedOrFirst(dialog, shown); });
        // A folder opened from the list, or one whose listing comes in
        // while the list has the focus.
        QObject::connect(&dialog, &QFileDialog::directoryEntered, follower,
                         &CurrentItemFollowsFocus::pickWhereFocused, Qt::QueuedConnection);
        if (view->model())
            QObject::connect(view->model(), &QAbstractItemModel::rowsInserted, follower,
                             &CurrentItemFollowsFocus::pickWhereFocused, Qt::QueuedConnection);
    }
}

}  // namespace quorvane
