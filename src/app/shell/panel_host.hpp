#pragma once

#include <QWidget>

namespace quorvane {

// The top-level window around the panel. With a tray it is a frameless popup
// next to the tray icon that closes on Escape or a click outside; without a
// tray an ordinary small window. The popup holds the pointer while open, so
// a click on the tray icon only closes it (the icon never sees that click).
class PanelHost : public QWidget {
    Q_OBJECT

  public:
    explicit PanelHost(QWidget* parent = nullptr);

    // Which of the two forms the next show() uses; only while hidden.
    void usePopupForm(bool popup);
    bool isPopupForm() const { return windowType() == Qt::Popup; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace quorvane
