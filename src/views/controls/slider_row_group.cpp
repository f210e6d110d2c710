#include "views/controls/slider_row_group.hpp"

#include <QLayout>
#include <algorithm>

#include "views/controls/native_slider_row.hpp"

namespace quorvane {

void SliderRowGroup::add(NativeSliderRow* row) {
    std::erase_if(rows_, [](const QPointer<NativeSliderRow>& kept) { return kept.isNull(); });
    rows_.emplace_back(row);
    relayout();
}

SliderRowColumns::LabelNeeds SliderRowGroup::needs() const {
    SliderRowColumns::LabelNeeds needs;
    for (const auto& row : rows_) {
        if (row.isNull())
            continue;
        const auto own = row->labelNeeds();
        needs.titleLine = std::max(needs.titleLine, own.titleLine);
        needs.widest = std::max(needs.widest, own.widest);
    }
    return needs;
}

void SliderRowGroup::relayout() {
    for (const auto& row : rows_) {
        if (row.isNull() || !row->layout())
            continue;
        row->layout()->invalidate();
        row->updateGeometry();
    }
}

}  // namespace quorvane
