#pragma once

#include <QWidget>
#include <vector>

class QGridLayout;

namespace quorvane {

// Tiles in rows of equal-width columns, as many columns of at least a least
// width as the grid's width allows, filled row by row in the order they
// were added. A column is never narrower than the widest tile's minimum
// size hint either (a word that must stay whole), so a large text gives
// fewer, wider columns. Every tile of a row is as tall as the row's tallest, so rows
// line up however long a tile's text is. The tiles move between columns on
// a resize or a new font; they are never rebuilt.
//
// Usage:
//   auto* grid = new AdaptiveGrid(170, 8, 10);  // least column width, spacings
//   grid->addTile(tile);
class AdaptiveGrid : public QWidget {
    Q_OBJECT

  public:
    AdaptiveGrid(int minimumColumnWidth, int columnSpacing, int rowSpacing,
                 QWidget* parent = nullptr);

    void addTile(QWidget* tile);
    int columnsShown() const { return shownColumns_; }
    int columnsFor(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void arrange(int columns);
    int leastColumnWidth() const;

    int minimumColumnWidth_;
    int columnSpacing_;
    int rowSpacing_;
    int shownColumns_ = 0;
    QGridLayout* grid_;
    std::vector<QWidget*> tiles_;
};

}  // namespace quorvane
