#pragma once

#include <QWidget>
#include <optional>

#include "models/display/display_snapshot.hpp"
#include "presentation/panel/panel_quick_tuning.hpp"
#include "views/view_context.hpp"

namespace quorvane {

class CorrectionToggle;
class DisplayStore;
class FitToWidth;
class HoldToCompareButton;
class PanelDDCStatusLine;
class PanelSliderRow;
class Theme;
class WrappingLabel;

// The quick tuning card of the selected display: brightness (backlight,
// monitor or app colour, whichever the display offers first), colour
// temperature and contrast rows, the note on directly written controls, the
// correction switch with hold-to-compare, and the monitor-control status.
//
// refresh() re-reads the store; rows keep their drafts unless the display or
// the brightness row's kind changed, which builds new rows.
class PanelQuickTuneCard : public QWidget {
    Q_OBJECT

  public:
    explicit PanelQuickTuneCard(ViewContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display);

    PanelSliderRow* brightnessRow() const { return brightness_; }
    PanelSliderRow* colorTemperatureRow() const { return temperature_; }
    PanelSliderRow* contrastRow() const { return contrast_; }
    PanelBrightnessRowKind brightnessKind() const { return brightnessKind_; }
    PanelDDCStatusLine* ddcStatusLine() const { return status_; }

  private:
    void rebuildRows(const DisplaySnapshot& display, const PanelBrightnessRow& brightness,
                     const ColorAdjustment& adjustment);
    void refreshCompareButton(DisplayID displayID);
    void writeBrightness(double value);
    void restyle();

    ViewContext& context_;
    DisplayStore& store_;
    Theme& theme_;
    std::optional<DisplayID> displayID_;
    PanelBrightnessRowKind brightnessKind_ = PanelBrightnessRowKind::appColor;
    QWidget* rows_ = nullptr;
    PanelSliderRow* brightness_ = nullptr;
    PanelSliderRow* temperature_ = nullptr;
    PanelSliderRow* contrast_ = nullptr;
    WrappingLabel* directNote_ = nullptr;
    FitToWidth* correctionLine_ = nullptr;
    CorrectionToggle* correctionToggle_ = nullptr;
    HoldToCompareButton* compare_ = nullptr;
    std::optional<DisplayID> compareDisplayID_;
    PanelDDCStatusLine* status_ = nullptr;
};

}  // namespace quorvane
