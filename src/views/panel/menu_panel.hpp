#pragma once

#include <QWidget>

#include "views/view_context.hpp"

namespace quorvane {

// The panel the tray icon opens. For now an empty panel; the shell wraps it in
// the popup (or small window) and sizes it.
class MenuPanel : public QWidget {
    Q_OBJECT

  public:
    explicit MenuPanel(ViewContext& context, QWidget* parent = nullptr);

  private:
    ViewContext& context_;
};

}  // namespace quorvane
