#include "views/main_window/main_window.hpp"

#include <QWidget>

namespace quorvane {

MainWindow::MainWindow(ViewContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
    setCentralWidget(new QWidget(this));
}

}  // namespace quorvane
