#pragma once

#include <Qt>
#include <vector>

class QGridLayout;
class QWidget;

namespace quorvane {

// Puts `widgets` into `grid` row by row, `columns` to a row, in their order,
// each column taking an equal share of the width. Widgets already in the
// grid are moved, never rebuilt, so a new column count (a resize, a new text
// size) keeps whatever state they hold; columns a wider arrangement used
// before give up their share.
//
// Usage: placeInRows(*grid, cards, columns, Qt::AlignTop);
void placeInRows(QGridLayout& grid, const std::vector<QWidget*>& widgets, int columns,
                 Qt::Alignment alignment = {});

}  // namespace quorvane
