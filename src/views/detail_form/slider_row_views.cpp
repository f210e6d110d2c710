#include "views/detail_form/slider_row_views.hpp"

#include <QVBoxLayout>

#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/detail_page.hpp"

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
    const double lower = spec.row.lower;
    row_ = new NativeSliderRow(context.theme, std::move(spec.row), lower, {},
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
    const auto& row = spec.row;
    row_ = new NativeDDCSliderRow(context.theme, row.title, row.subtitle, row.lower, {}, row.lower,
                                  row.upper, std::move(spec.commit), this);
    fill(this)->addWidget(row_);
}

void MonitorSliderRowView::refresh(double value, const std::string& valueText, bool enabled) {
    row_->setValue(value, valueText);
    row_->setEnabled(enabled);
}

}  // namespace quorvane
