#include "views/detail_form/card_grid.hpp"

#include <QGridLayout>
#include <QResizeEvent>
#include <algorithm>

#include "views/design/grid_rows.hpp"

namespace quorvane {

CardGrid::CardGrid(int columns, int spacing, QWidget* parent)
    : QWidget(parent), columns_(std::max(columns, 1)), spacing_(spacing) {
    grid_ = new QGridLayout(this);
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setSpacing(spacing);
}

void CardGrid::addCard(QWidget* card) {
    cards_.push_back(card);
    arrange(shownColumns_ == 0 ? columns_ : shownColumns_);
}

void CardGrid::setColumns(int columns) {
    columns = std::max(columns, 1);
    if (columns == columns_)
        return;
    columns_ = columns;
    arrange(width() > 0 ? columnsFor(width()) : columns_);
}

int CardGrid::columnsFor(int width) const {
    int widest = 0;
    for (const QWidget* card : cards_)
        widest = std::max(widest, card->minimumSizeHint().width());
    for (int columns = columns_; columns > 1; --columns) {
        if (columns * widest + (columns - 1) * spacing_ <= width)
            return columns;
    }
    return 1;
}

QSize CardGrid::minimumSizeHint() const {
    // One column is always possible, so the grid never asks for more.
    int widest = 0;
    int height = 0;
    for (const QWidget* card : cards_) {
        widest = std::max(widest, card->minimumSizeHint().width());
        height += card->minimumSizeHint().height() + spacing_;
    }
    return {widest, height};
}

void CardGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int columns = columnsFor(event->size().width());
    if (columns != shownColumns_)
        arrange(columns);
}

void CardGrid::arrange(int columns) {
    placeInRows(*grid_, cards_, columns, Qt::AlignTop);
    shownColumns_ = columns;
}

}  // namespace quorvane
