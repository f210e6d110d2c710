#include "views/detail_form/color_controls.hpp"

#include "presentation/main_window/rgb_curve_channel.hpp"
#include "views/controls/correction_toggle.hpp"
#include "views/controls/hold_to_compare_button.hpp"
#include "views/design/theme.hpp"
#include "views/detail_form/detail_page.hpp"
#include "views/main_window/rgb_curve_coordinate_editor.hpp"

namespace quorvane {

QWidget* makeCorrectionToggle(DetailFormContext& context) {
    return new CorrectionToggle(context.view, false);
}

QWidget* makeHoldToCompare(DetailFormContext& context, DisplayID displayID) {
    return new HoldToCompareButton(context.view, displayID, false);
}

void setHoldToCompareEnabled(QWidget* button, bool enabled) {
    static_cast<HoldToCompareButton*>(button)->setComparisonEnabled(enabled);
}

QWidget* makeCurveEditor(DetailFormContext& context, std::function<DisplayID()> displayID) {
    return new RGBCurveCoordinateEditor(
        context.theme,
        [&context, displayID] { return RGBGammas::of(context.store.colorAdjustment(displayID())); },
        [&context, displayID](const RGBCurveEdit& edit) {
            context.store.updateColorAdjustment(
                displayID(), [edit](ColorAdjustment& adjustment) { edit.applyTo(adjustment); });
        });
}

void refreshCurveEditor(QWidget* editor) {
    static_cast<RGBCurveCoordinateEditor*>(editor)->refresh();
}

}  // namespace quorvane
