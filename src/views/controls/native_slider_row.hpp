#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "presentation/main_window/slider_row_columns.hpp"
#include "presentation/main_window/slider_row_model.hpp"
#include "presentation/main_window/slider_scale.hpp"
#include "views/controls/readout_slider.hpp"
#include "views/design/readout_label.hpp"

class QAbstractButton;
class QLabel;

namespace quorvane {

class SliderRowGroup;
class Theme;
class WrappingLabel;

// What a slider row edits: its title and subtitle, the range and the nudge
// step, and how drafts and pending values are written in the readout.
struct NativeSliderRowSpec {
    std::string title;
    std::optional<std::string> subtitle;
    double lower = 0.0;
    double upper = 1.0;
    double nudgeStep = 0.01;
    SliderRowModel::Formatter formatter = defaultSliderValueText;
    // The readout's unit, in which assistive technology reads and sets the
    // value.
    PanelValueFormat unit = PanelValueFormat::twoDecimals;
};

// A form row: the title (and subtitle) beside a slider between a minus and a
// plus nudge button, with a readout. The rules are SliderRowModel's: the
// value is written once per complete edit — at the end of a drag, on a nudge,
// and on a keyboard, page or wheel step taken while the thumb is not held —
// never while the thumb moves. A wheel reaches the slider only once the user
// picked it (WheelGuard); passing over it, the wheel scrolls the page. The
// title sits beside the controls in the label column SliderRowColumns gives
// the row's width: rows that joined one card's column share the width their
// widest label needs, so they line up and a title wraps only when the card
// is too narrow; a card too narrow for the label beside the controls puts
// every row's title above its controls. The owner
// publishes the value with setValue() on every store change; that never
// moves a thumb being dragged.
//
// NativeSliderRow writes a software colour value through `write`.
class NativeSliderRow : public QWidget {
    Q_OBJECT

  public:
    using Write = std::function<void(double)>;

    NativeSliderRow(Theme& theme, NativeSliderRowSpec spec, double value,
                    const std::string& valueText, Write write, QWidget* parent = nullptr);

    // The value as the owner now has it, and the owner's readout text for it.
    void setValue(double value, const std::string& valueText);

    // Shares the label column with the other rows of `group` (a card).
    void joinColumn(SliderRowGroup* group);
    // What this row's label needs: its title line and its widest line.
    SliderRowColumns::LabelNeeds labelNeeds() const;

    const SliderRowModel& model() const { return model_; }
    ReadoutSlider* slider() const { return slider_; }
    QAbstractButton* decrementButton() const { return decrement_; }
    QAbstractButton* incrementButton() const { return increment_; }
    ReadoutLabel* readout() const { return readout_; }
    QWidget* label() const { return label_; }
    QWidget* content() const { return content_; }

  protected:
    NativeSliderRow(Theme& theme, NativeSliderRowSpec spec, SliderRowKind kind, double value,
                    const std::string& valueText, Write write, QWidget* parent);

  private:
    void build(SliderRowKind kind);
    void finish(double value);
    void stepTo(double value);
    // The model's value in the readout, the slider's reading and the thumb.
    void present();
    void restyle();

    Theme& theme_;
    NativeSliderRowSpec spec_;
    SliderScale scale_;
    SliderRowModel model_;
    std::string valueText_;
    Write write_;
    QWidget* label_ = nullptr;
    QWidget* content_ = nullptr;
    QWidget* firstLine_ = nullptr;
    WrappingLabel* title_ = nullptr;
    WrappingLabel* subtitle_ = nullptr;
    QAbstractButton* decrement_ = nullptr;
    QAbstractButton* increment_ = nullptr;
    ReadoutSlider* slider_ = nullptr;
    ReadoutLabel* readout_ = nullptr;
    QPointer<SliderRowGroup> group_;
};

// The monitor row: steps of one percent, whole-percent readouts, the "직접
// 적용" tag after the title, and every finished value handed to `onCommit`,
// which queues a monitor write. The committed value stays in the readout
// until the monitor reports a different value.
class NativeDDCSliderRow : public NativeSliderRow {
    Q_OBJECT

  public:
    NativeDDCSliderRow(Theme& theme, std::string title, std::optional<std::string> subtitle,
                       double value, const std::string& valueText, double lower, double upper,
                       Write onCommit, QWidget* parent = nullptr);
};

}  // namespace quorvane
