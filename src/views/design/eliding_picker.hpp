#pragma once

#include <QComboBox>

namespace quorvane {

// A drop-down picker whose names may be longer than the room it gets (a
// profile's file name, a display group, a display with its alias): the
// chosen name and the rows of the open list end in "…" where they would
// overflow, cut between characters by the font's own metrics rather than
// clipped mid-glyph by the frame. The accessible value and the stored
// entries stay whole; a screen reader hears the chosen name with the
// picker's title and hears each new choice as it is made. A wheel over it only scrolls the page
// until the user picks it (WheelGuard is installed by the constructor).
//
// Usage:
//   auto* picker = new ElidingPicker;
//   picker->setIdealWidth(280);  // optional: asks for 280 whatever the names
//   picker->addItem(name, id);
class ElidingPicker : public QComboBox {
    Q_OBJECT

  public:
    explicit ElidingPicker(QWidget* parent = nullptr);

    // The width the picker asks its layout for, however long its names;
    // the minimum and maximum widths still bound it. Zero (the default)
    // keeps the size adjust policy's width.
    void setIdealWidth(int width);
    // The chosen entry's name as drawn at the picker's current width.
    QString shownText() const;

    QSize sizeHint() const override;
    // With an ideal width, never wider than it: the names elide, so the
    // longest one must not hold the picker wider (a layout takes the larger
    // of the two hints as the width it asks for).
    QSize minimumSizeHint() const override;
    void showPopup() override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool showsPlaceholder() const;
    // Tells assistive technology the chosen name, if it is not the one it
    // was last told.
    void tellChoice();

    int idealWidth_ = 0;
    // The choice last told to assistive technology.
    QString spokenChoice_;
};

}  // namespace quorvane
