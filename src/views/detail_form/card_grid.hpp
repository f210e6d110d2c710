#pragma once

#include <vector>

#include <QWidget>

class QGridLayout;

namespace quorvane {

// The card grid of the scroll pages: the text size's column count, filled
// row by row. When the column is too narrow for that many cards side by
// side (a card holds a control that cannot shrink further), it falls back to
// one card per row rather than cutting the page off at the right.
class CardGrid : public QWidget {
    Q_OBJECT

  public:
    CardGrid(int columns, int spacing, QWidget* parent = nullptr);

    void addCard(QWidget* card);
    // A new most columns (the text size changed); the cards move in place.
    void setColumns(int columns);
    int columnsShown() const { return shownColumns_; }
    // The columns the grid takes at a width (for tests).
    int columnsFor(int width) const;

    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void arrange(int columns);

    int columns_;
    int spacing_;
    int shownColumns_ = 0;
    QGridLayout* grid_;
    std::vector<QWidget*> cards_;
};

}  // namespace quorvane
