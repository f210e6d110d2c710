#pragma once

#include <QMainWindow>

#include "views/view_context.hpp"

namespace quorvane {

// The two-pane main window. For now an empty window.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(ViewContext& context, QWidget* parent = nullptr);

  private:
    ViewContext& context_;
};

}  // namespace quorvane
