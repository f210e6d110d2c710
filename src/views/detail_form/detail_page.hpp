#pragma once

#include <QWidget>

#include "models/display/display_snapshot.hpp"
#include "presentation/main_window/main_window_state.hpp"
#include "services/display_store/display_store.hpp"
#include "services/persistence/quorvane_destructive_confirmation_coordinator.hpp"

namespace quorvane {

class Theme;
class StoreBridge;
struct ViewContext;

// What every page of the detail form works with; all of it outlives the
// pages. The drafts and names live in `state`, never in a page, because a
// page is rebuilt whenever the section or the display changes (a theme
// change restyles it in place).
struct DetailFormContext {
    ViewContext& view;
    DisplayStore& store;
    StoreBridge& bridge;
    Theme& theme;
    MainWindowState& state;
    QuorvaneDestructiveConfirmationCoordinator& confirmations;
};

// One page or section of the form. refresh() re-reads the store for the
// display and updates the widgets in place, never recreating one that may
// hold live state (a slider being dragged, a focused field, an open menu).
class DetailPage : public QWidget {
    Q_OBJECT

  public:
    using QWidget::QWidget;

    virtual void refresh(const DisplaySnapshot& display) = 0;

  signals:
    // The page changed state the store does not hold (a draft): the form
    // redraws at once rather than waiting for a store change.
    void draftsChanged();
};

}  // namespace quorvane
