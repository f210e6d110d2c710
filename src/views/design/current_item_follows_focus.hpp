#pragma once

#include <QObject>
#include <QPersistentModelIndex>

class QAbstractItemView;
class QWidget;

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
class CurrentItemFollowsFocus : public QObject {
    Q_OBJECT

  public:
    // Follows `view` for its life.
    explicit CurrentItemFollowsFocus(QAbstractItemView& view);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setAside();
    void putBack();

    QAbstractItemView& view_;
};

// Follows every list and tree of `window` (a file dialog, once open()
// built its controls).
void followFocusWithCurrentItems(QWidget& window);

}  // namespace quorvane
