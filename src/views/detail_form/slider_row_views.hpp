#pragma once

#include <functional>
#include <string>

#include <QWidget>

#include "views/controls/native_slider_row.hpp"

namespace quorvane {

struct DetailFormContext;

// What a slider row of the form shows and writes: the main window's slider
// rows, which call `commit` once when a drag ends and once per nudge or step,
// never while the thumb moves. Monitor rows take only the title, subtitle
// and range: they step and format whole percents themselves.
struct SliderRowSpec {
    NativeSliderRowSpec row;
    std::function<void(double)> commit;
    std::string help;
};

// A software row: the value is written at once and read back from the store.
class SoftwareSliderRowView : public QWidget {
    Q_OBJECT

  public:
    SoftwareSliderRowView(DetailFormContext& context, SliderRowSpec spec,
                          QWidget* parent = nullptr);

    void refresh(double value, const std::string& valueText);
    NativeSliderRow* row() const { return row_; }

  private:
    NativeSliderRow* row_ = nullptr;
};

// A monitor row: the committed value shows as pending until the monitor's
// read-back arrives in the store.
class MonitorSliderRowView : public QWidget {
    Q_OBJECT

  public:
    MonitorSliderRowView(DetailFormContext& context, SliderRowSpec spec, QWidget* parent = nullptr);

    void refresh(double value, const std::string& valueText, bool enabled);
    NativeSliderRow* row() const { return row_; }

  private:
    NativeSliderRow* row_ = nullptr;
};

}  // namespace quorvane
