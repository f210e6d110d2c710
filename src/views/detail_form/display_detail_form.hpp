#pragma once

#include <QWidget>

#include "presentation/main_window/main_window_state.hpp"
#include "views/view_context.hpp"

namespace quorvane {

class ConfirmationPresenter;

// The selected display's pages in the main window's detail column. The main
// window owns the state it edits (the section shown, the advanced group, the
// names being typed) and its confirmation presenter, and calls refresh() on
// every change of the store; the form shows the page of the state's section
// for the store's selected display.
class DisplayDetailForm : public QWidget {
    Q_OBJECT

  public:
    DisplayDetailForm(ViewContext& context, MainWindowState& state,
                      ConfirmationPresenter& confirmations, QWidget* parent = nullptr);

    // Re-reads the store and the window state in place.
    void refresh();

  private:
    ViewContext& context_;
    MainWindowState& state_;
    ConfirmationPresenter& confirmations_;
};

}  // namespace quorvane
