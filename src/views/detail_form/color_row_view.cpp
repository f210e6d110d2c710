#include "views/detail_form/color_row_view.hpp"

#include <QVBoxLayout>

#include "views/detail_form/detail_page.hpp"
#include "views/detail_form/slider_row_views.hpp"

namespace quorvane {

ColorRowView::ColorRowView(DetailFormContext& context, const ColorSliderRow& row, QWidget* parent)
    : QWidget(parent), spec_(row) {
    SliderRowSpec spec;
    spec.row = {row.title,
                row.subtitle,
                row.minimum,
                row.maximum,
                row.nudgeStep,
                [row](double value) { return row.formatted(value); },
                row.inKelvin ? PanelValueFormat::kelvinHundreds : PanelValueFormat::twoDecimals};
    spec.commit = [this, &context](double value) {
        spec_.commit(context.store, displayID_, value);
    };
    row_ = new SoftwareSliderRowView(context, std::move(spec), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(row_);
}

void ColorRowView::refresh(DisplayID displayID, const ColorAdjustment& adjustment) {
    displayID_ = displayID;
    row_->refresh(spec_.value(adjustment), spec_.valueText(adjustment));
}

NativeSliderRow* ColorRowView::sliderRow() const {
    return row_->row();
}

}  // namespace quorvane
