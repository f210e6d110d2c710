#include "views/design/grid_rows.hpp"

#include <QGridLayout>
#include <algorithm>

namespace quorvane {

void placeInRows(QGridLayout& grid, const std::vector<QWidget*>& widgets, int columns,
                 Qt::Alignment alignment) {
    for (QWidget* widget : widgets)
        grid.removeWidget(widget);
    for (int column = 0; column < std::max(grid.columnCount(), columns); ++column)
        grid.setColumnStretch(column, column < columns ? 1 : 0);
    int index = 0;
    for (QWidget* widget : widgets) {
        grid.addWidget(widget, index / columns, index % columns, alignment);
        ++index;
    }
}

}  // namespace quorvane
