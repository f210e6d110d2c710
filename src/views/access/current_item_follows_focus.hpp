#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <functional>

class QAbstractItemView;
class QFileDialog;

namespace quorvane {

// Qt's accessible item of a list or tree reads as focused whenever it is the
// view's current item, whether the view holds the focus or not, so a screen
// reader asking where the focus is finds the list's item at every stop after
// the list as well as the control that holds it. The view keeps its current
// item only while it holds the focus: it is set aside, with no signal, as the
// focus leaves (a menu opened over the view leaves it in place) and put back
// as the focus comes in, before the view itself sees the focus; an item made
// current while the focus is elsewhere is set aside too. The views of one
// selection model (a file dialog's list and detail views) share it.
//
// A view given a pick has a current item wherever it holds the focus: the
// keyboard coming in with none set aside (the first time, or in a folder
// just opened) makes the picked item current and selected, so Return acts
// on it at once rather than only after an arrow key; a click picks its own.
class CurrentItemFollowsFocus : public QObject {
    Q_OBJECT

  public:
    // The item to make current in a view with none (invalid for none).
    using Pick = std::function<QModelIndex(const QAbstractItemView&)>;

    // Follows `view` for its life.
    explicit CurrentItemFollowsFocus(QAbstractItemView& view, Pick pick = {});

    // Makes the picked item current where the view holds the focus and has
    // none: its folder changed under the keyboard, or its items came in.
    void pickWhereFocused();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setAside();
    void putBack();

    QAbstractItemView& view_;
    Pick pick_;
};

// Follows every list and tree of `dialog`, once open() built its controls;
// its folder's list and detail views pick the file the name field names,
// else the first item of the folder.
void followFocusWithCurrentItems(QFileDialog& dialog);

}  // namespace quorvane
