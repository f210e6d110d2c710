#pragma once

#include <QObject>

class QFocusEvent;
class QWidget;

namespace quorvane {

// A wheel turned over a control the user has not picked (pressed, or reached
// with the keyboard) belongs to the page: the control lets it pass on to the
// scroll area around it and changes nothing, so scrolling past a slider or a
// picker never writes a colour, a monitor setting or a choice. Once the
// control holds the focus the user gave it, the wheel steps it like any
// other input. A wheel alone never gives the control the focus, and neither
// does focus a window hands out as it opens or comes back: that is no pick,
// and a control hidden with its window must be picked again.
//
// Usage (every slider and picker of a page):
//   slider_ = new QSlider(Qt::Horizontal, this);
//   WheelGuard::install(slider_);
class WheelGuard final : public QObject {
    Q_OBJECT

  public:
    // The guard lives as long as `control`.
    static void install(QWidget* control);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit WheelGuard(QWidget* control);

    void focusChanged(const QFocusEvent& event);

    QWidget* control_;
    bool picked_ = false;
};

}  // namespace quorvane
