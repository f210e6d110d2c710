#pragma once

#include <QTimer>
#include <QWidget>

namespace quorvane {

// A small indeterminate busy indicator: eight spokes whose brightness turns
// while the widget is visible (the timer stops while it is hidden). Its side
// follows its font's line height, like a symbol beside text.
class BusySpinner : public QWidget {
    Q_OBJECT

  public:
    explicit BusySpinner(QWidget* parent = nullptr);

    void setColor(const QColor& color);
    // Starts the turn again from its first spoke, so two spinners restarted
    // together draw the same (pictures taken to be compared).
    void restart();
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QTimer timer_;
    int step_ = 0;
    QColor color_;
};

}  // namespace quorvane
