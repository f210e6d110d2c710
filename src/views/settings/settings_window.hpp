#pragma once

#include <QWidget>

#include "views/view_context.hpp"

namespace quorvane {

// The settings window. For now an empty window; the shell sizes it.
class SettingsWindow : public QWidget {
    Q_OBJECT

  public:
    explicit SettingsWindow(ViewContext& context, QWidget* parent = nullptr);

  private:
    ViewContext& context_;
};

}  // namespace quorvane
