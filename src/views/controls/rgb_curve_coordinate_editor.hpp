#pragma once

#include <QWidget>
#include <functional>

#include "presentation/main_window/rgb_curve_editor_model.hpp"

class QLabel;

namespace quorvane {

class CurvePill;
class FitToWidth;
class PlainTextButton;
class Theme;
class RGBCurveGraphView;
class SegmentedPicker;

// Edits the three colour gammas of one display by dragging a point on a tone
// curve. The drag previews; the release writes once (on "RGB" one write
// carries all three gammas, so one undo takes them all back). The owner gives
// how to read the display's gammas and how to write an edit, and calls
// refresh() when the store changed. It fits a card half the page wide: the
// channel picker goes under the title and the reset button under the pills
// when they do not fit beside each other.
class RGBCurveCoordinateEditor : public QWidget {
    Q_OBJECT

  public:
    using Read = std::function<RGBGammas()>;
    using Write = std::function<void(const RGBCurveEdit&)>;

    RGBCurveCoordinateEditor(Theme& theme, Read read, Write write, QWidget* parent = nullptr);

    // Re-reads the gammas; a pending preview of the selected channel stays.
    void refresh();

    const RGBCurveEditorModel& model() const { return model_; }
    RGBCurveGraphView* graph() const { return graph_; }
    // The gamma, X and Y pills with the reset button.
    FitToWidth* coordinateReadout() const { return readout_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void selectChannel(RGBCurveChannel channel);
    void preview(double input, double output);
    void commit(double input, double output);
    void reset();
    void redraw();
    void restyle();

    Theme& theme_;
    Read read_;
    Write write_;
    RGBCurveEditorModel model_;
    RGBGammas gammas_;
    QLabel* title_ = nullptr;
    QLabel* hint_ = nullptr;
    SegmentedPicker* channelPicker_ = nullptr;
    RGBCurveGraphView* graph_ = nullptr;
    CurvePill* gammaPill_ = nullptr;
    CurvePill* xPill_ = nullptr;
    CurvePill* yPill_ = nullptr;
    PlainTextButton* resetButton_ = nullptr;
    FitToWidth* readout_ = nullptr;
};

}  // namespace quorvane
