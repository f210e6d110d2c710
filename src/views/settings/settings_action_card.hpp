#pragma once

#include <QWidget>
#include <string>

#include "presentation/design/button_look.hpp"

namespace quorvane {

class ChipButton;
class Theme;

// An action of a settings card: a chip button with its symbol and title,
// and under it the explanation (also the button's tooltip), on a tinted
// rounded tile read as one element by assistive technology.
class SettingsActionCard : public QWidget {
    Q_OBJECT

  public:
    SettingsActionCard(Theme& theme, const QString& title, const QString& detail,
                       const std::string& systemImage, QuorvaneChipProminence prominence,
                       QWidget* parent = nullptr);

    ChipButton* button() const { return button_; }

  signals:
    void triggered();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Theme& theme_;
    ChipButton* button_ = nullptr;
};

}  // namespace quorvane
