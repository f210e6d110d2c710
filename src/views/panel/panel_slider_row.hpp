#pragma once

#include <QWidget>
#include <functional>

#include "presentation/panel/panel_slider_row_content.hpp"
#include "presentation/panel/panel_slider_row_state.hpp"
#include "views/controls/readout_slider.hpp"
#include "views/design/readout_label.hpp"

class QSlider;

namespace quorvane {

class HardwareWriteTag;
class NudgeButton;
class SymbolImage;
class Theme;
class WrappingLabel;

// One slider row of the panel's quick tuning card: title, value text, a
// slider between a minus and a plus button, on a rounded tile.
//
// The store is written through `write` once per drag (at release), once per
// nudge press and once per keyboard or page step taken while the thumb is
// not held; never while the thumb moves. setContent() brings in the owner's
// current value after every store change; a drag in progress keeps its thumb.
class PanelSliderRow : public QWidget {
    Q_OBJECT

  public:
    using Write = std::function<void(double)>;

    PanelSliderRow(Theme& theme, const PanelSliderRowContent& content, Write write,
                   QWidget* parent = nullptr);

    void setContent(const PanelSliderRowContent& content);
    const PanelSliderRowContent& content() const { return content_; }
    const PanelSliderRowState& state() const { return state_; }

    QSlider* slider() const { return slider_; }
    NudgeButton* decrementButton() const { return decrement_; }
    NudgeButton* incrementButton() const { return increment_; }
    ReadoutLabel* valueLabel() const { return value_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void restyle();
    void pressed();
    void moved(int position);
    void released();
    void stepWithoutHold(double value);
    void nudge(QuorvaneAdjustmentNudgeDirection direction);
    void send(double value);
    void showState();

    Theme& theme_;
    PanelSliderRowContent content_;
    PanelSliderRowState state_;
    SliderScale scale_;
    Write write_;
    SymbolImage* icon_ = nullptr;
    WrappingLabel* title_ = nullptr;
    HardwareWriteTag* tag_ = nullptr;
    ReadoutLabel* value_ = nullptr;
    ReadoutSlider* slider_ = nullptr;
    NudgeButton* decrement_ = nullptr;
    NudgeButton* increment_ = nullptr;
};

}  // namespace quorvane
