#include "views/design/adaptive_grid.hpp"

#include <QEvent>
#include <QGridLayout>
#include <QResizeEvent>
#include <algorithm>

#include "presentation/design/adaptive_columns.hpp"
#include "views/design/grid_rows.hpp"

namespace quorvane {

namespace {

int heightAt(const QWidget* tile, int width) {
    return tile->hasHeightForWidth() ? tile->heightForWidth(width) : tile->sizeHint().height();
}

}  // namespace

AdaptiveGrid::AdaptiveGrid(int minimumColumnWidth, int columnSpacing, int rowSpacing,
                           QWidget* parent)
    : QWidget(parent),
      minimumColumnWidth_(minimumColumnWidth),
      columnSpacing_(columnSpacing),
      rowSpacing_(rowSpacing),
      grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setHorizontalSpacing(columnSpacing_);
    grid_->setVerticalSpacing(rowSpacing_);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void AdaptiveGrid::addTile(QWidget* tile) {
    tiles_.push_back(tile);
    arrange(width() > 0 ? columnsFor(width()) : 1);
}

int AdaptiveGrid::leastColumnWidth() const {
    int least = minimumColumnWidth_;
    for (const QWidget* tile : tiles_)
        least = std::max(least, tile->minimumSizeHint().width());
    return least;
}

int AdaptiveGrid::columnsFor(int width) const {
    return adaptiveColumnCount(width, leastColumnWidth(), columnSpacing_,
                               static_cast<int>(tiles_.size()));
}

int AdaptiveGrid::heightForWidth(int width) const {
    const int columns = columnsFor(width);
    const int columnWidth = (width - columnSpacing_ * (columns - 1)) / columns;
    int height = 0;
    for (std::size_t start = 0; start < tiles_.size(); start += columns) {
        int tallest = 0;
        for (std::size_t index = start; index < std::min(tiles_.size(), start + columns); ++index)
            tallest = std::max(tallest, heightAt(tiles_[index], columnWidth));
        height += tallest + (start > 0 ? rowSpacing_ : 0);
    }
    return height;
}

QSize AdaptiveGrid::sizeHint() const {
    const int width = std::max(leastColumnWidth(), this->width());
    return {width, heightForWidth(width)};
}

QSize AdaptiveGrid::minimumSizeHint() const {
    return {leastColumnWidth(), 0};
}

bool AdaptiveGrid::event(QEvent* event) {
    // A tile's new font or text may change how many columns fit.
    if (event->type() == QEvent::LayoutRequest && width() > 0) {
        const int columns = columnsFor(width());
        if (columns != shownColumns_)
            arrange(columns);
    }
    return QWidget::event(event);
}

void AdaptiveGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int columns = columnsFor(event->size().width());
    if (columns != shownColumns_)
        arrange(columns);
}

void AdaptiveGrid::arrange(int columns) {
    // No alignment: a tile fills its cell, so it takes its row's height.
    placeInRows(*grid_, tiles_, columns);
    shownColumns_ = columns;
    updateGeometry();
}

}  // namespace quorvane
