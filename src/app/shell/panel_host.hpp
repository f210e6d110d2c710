#pragma once

#include <QElapsedTimer>
#include <QWidget>

namespace quorvane {

// The top-level window around the panel. With a tray it is a frameless popup
// next to the tray icon that closes on Escape or a click outside; without a
// tray an ordinary small window.
class PanelHost : public QWidget {
    Q_OBJECT

  public:
    explicit PanelHost(QWidget* parent = nullptr);

    // Which of the two forms the next show() uses; only while hidden.
    void usePopupForm(bool popup);
    bool isPopupForm() const { return popupForm_; }
    // A popup that just closed because the press that closed it landed
    // outside it: the tray click that closed it must not open it again.
    bool closedMomentsAgo() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    bool popupForm_ = false;
    QElapsedTimer sinceHidden_;
};

}  // namespace quorvane
