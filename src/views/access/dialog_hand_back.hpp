#pragma once

#include <QObject>

class QDialog;

namespace quorvane {

// A dialog that closes, whether deleted or kept hidden, hands the keyboard
// back to the window below: no popup of its own stays. A completion list is
// a window of its own, outside the dialog, that Return in the name field
// leaves up once the dialog is hidden (deleted, the dialog took it along);
// it then holds the keyboard and the mouse for every window of the
// application, the focus stays in the hidden name field, and the window
// below never becomes active again to say the dialog's result. It goes as
// the dialog hides (a combo box's list goes by itself), and the window
// below gets the focus back on the control that had it, the one that
// opened the dialog.
class DialogHandBack : public QObject {
    Q_OBJECT

  public:
    // Follows `dialog` for its life.
    explicit DialogHandBack(QDialog& dialog);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void closeCompletionLists();

    QDialog& dialog_;
};

}  // namespace quorvane
