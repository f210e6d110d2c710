#pragma once

#include <functional>

#include "models/display/display_snapshot.hpp"

class QWidget;

namespace quorvane {

struct DetailFormContext;

// The shared controls the colour page places, built for the form.

// The "화면 색감 보정" switch in its full layout.
QWidget* makeCorrectionToggle(DetailFormContext& context);
// The hold-to-compare button of one display; its comparison ends on release
// whatever enabled state the page passes while it is held.
QWidget* makeHoldToCompare(DetailFormContext& context, DisplayID displayID);
void setHoldToCompareEnabled(QWidget* button, bool enabled);
// The RGB curve editor over the display's three gammas; each commit is one
// colour write. refreshCurveEditor() re-reads the gammas after a change.
QWidget* makeCurveEditor(DetailFormContext& context, std::function<DisplayID()> displayID);
void refreshCurveEditor(QWidget* editor);

}  // namespace quorvane
