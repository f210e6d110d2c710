#pragma once

#include <vector>

#include <QPointer>

#include "presentation/detail_form/reference_color_cards.hpp"
#include "views/detail_form/detail_page.hpp"

class QAbstractButton;
class QVBoxLayout;

namespace quorvane {

class ColorRowView;
class HoldToCompareButton;
class RGBCurveCoordinateEditor;
class ReferenceHero;
class SegmentedPicker;
class WrappingLabel;

// The colour page: the header and four cards of software colour controls.
// The cards hold no colour state: every value is read from the store and
// every change is one store write, made when a row commits (drag end or
// nudge), a reset is pressed or the filter is chosen.
class ColorReferencePage : public DetailPage {
    Q_OBJECT

  public:
    explicit ColorReferencePage(DetailFormContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display) override;
    SegmentedPicker* filterPicker() const { return filterPicker_; }

  private:
    QWidget* makeCard(const ReferenceColorCard& card);
    void addRows(QVBoxLayout* column, const ReferenceColorCard& card);
    void addBasics(QVBoxLayout* column, const ReferenceColorCard& card);
    void addCurves(QVBoxLayout* column, const ReferenceColorCard& card);
    void addFilter(QVBoxLayout* column, QWidget* heading);
    QAbstractButton* makeResetButton(const ColorResetButton& reset);
    void updateHoldToCompare(const DisplaySnapshot& display);

    DetailFormContext& context_;
    DisplayID displayID_ = 0;
    ReferenceHero* hero_ = nullptr;
    std::vector<ColorRowView*> rows_;
    std::vector<std::pair<ColorResetButton, QAbstractButton*>> resets_;
    QVBoxLayout* holdSlot_ = nullptr;
    QPointer<HoldToCompareButton> holdButton_;
    RGBCurveCoordinateEditor* curveEditor_ = nullptr;
    SegmentedPicker* filterPicker_ = nullptr;
    WrappingLabel* filterDescription_ = nullptr;
};

}  // namespace quorvane
