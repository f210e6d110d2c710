#pragma once

#include <QWidget>

namespace quorvane {

// The top-level window around the panel. With a tray it is a frameless popup
// next to the tray icon that closes on Escape or a click outside; without a
// tray an ordinary small window. The popup holds the pointer while open, so
// a click on the tray icon only closes it (the icon never sees that click).
//
// The application losing the focus closes the popup too, but only a loss
// of this opening's: Qt reports a loss a moment after the X server made it,
// so the loss that came with closing the panel can be reported after a
// quick click on the icon opened it again.
class PanelHost : public QWidget {
    Q_OBJECT

  public:
    explicit PanelHost(QWidget* parent = nullptr);

    // Which of the two forms the next show() uses; only while hidden.
    void usePopupForm(bool popup);
    bool isPopupForm() const { return windowType() == Qt::Popup; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    // Whether the panel's window has had the focus since it was last shown.
    bool focusedInThisOpening_ = false;
    bool handlingPress_ = false;
};

}  // namespace quorvane
