#pragma once

#include <QAbstractButton>

namespace quorvane {

class Theme;

// The small "다른 화면" chip of the panel's heading: a short label followed
// by a chevron on a rounded tint, as small as its text so the display's name
// beside it keeps its room.
class PanelPickerChip : public QAbstractButton {
    Q_OBJECT

  public:
    PanelPickerChip(Theme& theme, const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    int chevronSide() const;

    Theme& theme_;
};

}  // namespace quorvane
