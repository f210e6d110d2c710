#pragma once

#include <QMainWindow>

#include "presentation/main_window/main_window_state.hpp"
#include "views/view_context.hpp"

class QSplitter;
class QStackedWidget;

namespace quorvane {

class ConfirmationPresenter;
class DisplayDetailForm;
class MainUtilityHeader;
class MainWindowSidebar;
class NoDisplayState;

// The main window: the sidebar (displays and sections) beside the detail
// column, which holds the utility header over the selected display's form or,
// with no display, the no-display state.
//
// The window keeps only view state (MainWindowState) and one confirmation
// presenter; which display is chosen belongs to the store. Every change of the
// store redraws in place through redraw(), which never recreates a widget
// that may hold live state (a dragged slider, a focused line edit, the open
// disclosure). Each time the window is shown it asks the store for a light
// re-read; when the application stops being active it ends every temporary
// neutral comparison, so none outlives the focus.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr int kMinimumWidth = 820;
    static constexpr int kMinimumHeight = 560;

    explicit MainWindow(ViewContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Re-reads the store: sidebar rows, the detail page and the title.
    void redraw();
    // Whether the header offers the panel (where no tray icon opens it).
    void offerPanel(bool offered);

    MainWindowState& state() { return state_; }
    MainWindowSidebar* sidebar() const { return sidebar_; }
    QSplitter* splitter() const { return split_; }
    MainUtilityHeader* utilityHeader() const { return header_; }
    DisplayDetailForm* detailForm() const { return form_; }
    NoDisplayState* noDisplayState() const { return noDisplay_; }
    ConfirmationPresenter& confirmations() { return *confirmations_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void rescan();
    void openSettings();
    void openPanel();
    void sectionsChanged();

    ViewContext& context_;
    MainWindowState state_;
    ConfirmationPresenter* confirmations_ = nullptr;
    QSplitter* split_ = nullptr;
    MainWindowSidebar* sidebar_ = nullptr;
    MainUtilityHeader* header_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    DisplayDetailForm* form_ = nullptr;
    NoDisplayState* noDisplay_ = nullptr;
    bool sidebarDragged_ = false;
};

}  // namespace quorvane
