#include "views/detail_form/slider_row_views.hpp"

#include <QVBoxLayout>

#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/detail_page.hpp"
#include "views/main_window/native_slider_row.hpp"

namespace quorvane {

namespace {

QVBoxLayout* fill(QWidget* owner) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

}  // namespace

SoftwareSliderRowView::SoftwareSliderRowView(DetailFormContext& context, SliderRowSpec spec,
                                             QWidget* parent)
    : QWidget(parent) {
    setToolTip(qText(spec.help));
    NativeSliderRowSpec rowSpec;
    rowSpec.title = spec.title;
    rowSpec.subtitle = spec.subtitle;
    rowSpec.lower = spec.minimum;
    rowSpec.upper = spec.maximum;
    rowSpec.nudgeStep = spec.nudgeStep;
    if (spec.formatter)
        rowSpec.formatter = spec.formatter;
    row_ = new NativeSliderRow(context.theme, std::move(rowSpec), spec.minimum, {},
                               std::move(spec.commit), this);
    fill(this)->addWidget(row_);
}

void SoftwareSliderRowView::refresh(double value, const std::string& valueText) {
    row_->setValue(value, valueText);
}

MonitorSliderRowView::MonitorSliderRowView(DetailFormContext& context, SliderRowSpec spec,
                                           QWidget* parent)
    : QWidget(parent) {
    setToolTip(qText(spec.help));
    row_ = new NativeDDCSliderRow(context.theme, spec.title, spec.subtitle, spec.minimum, {},
                                  spec.minimum, spec.maximum, std::move(spec.commit), this);
    fill(this)->addWidget(row_);
}

void MonitorSliderRowView::refresh(double value, const std::string& valueText, bool enabled) {
    row_->setValue(value, valueText);
    row_->setEnabled(enabled);
}

}  // namespace quorvane
