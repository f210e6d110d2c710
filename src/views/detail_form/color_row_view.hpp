#pragma once

#include <QWidget>

#include "presentation/detail_form/reference_color_cards.hpp"

namespace quorvane {

struct DetailFormContext;
class NativeSliderRow;
class SoftwareSliderRowView;

// One colour row of the colour page: its slider commits through the row's
// one store write for the display shown at that moment.
class ColorRowView : public QWidget {
    Q_OBJECT

  public:
    ColorRowView(DetailFormContext& context, const ColorSliderRow& row, QWidget* parent = nullptr);

    void refresh(DisplayID displayID, const ColorAdjustment& adjustment);
    NativeSliderRow* sliderRow() const;

  private:
    ColorSliderRow spec_;
    DisplayID displayID_ = 0;
    SoftwareSliderRowView* row_ = nullptr;
};

}  // namespace quorvane
