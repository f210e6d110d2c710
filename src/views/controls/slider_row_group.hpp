#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

#include "presentation/main_window/slider_row_columns.hpp"

namespace quorvane {

class NativeSliderRow;

// The slider rows of one card: they share one label column, as wide as the
// widest of their labels needs (within what the card's width gives), so
// their titles never wrap while the card has room and their sliders start
// at one x. Rows join with NativeSliderRow::joinColumn(); a row that goes
// away leaves the group by itself. Owned by the card (its QObject parent).
class SliderRowGroup : public QObject {
    Q_OBJECT

  public:
    explicit SliderRowGroup(QObject* parent = nullptr) : QObject(parent) {}

    void add(NativeSliderRow* row);
    // The widest title line and label of the rows.
    SliderRowColumns::LabelNeeds needs() const;
    // Lays every row out again (after a new font changed what they need).
    void relayout();

  private:
    std::vector<QPointer<NativeSliderRow>> rows_;
};

}  // namespace quorvane
