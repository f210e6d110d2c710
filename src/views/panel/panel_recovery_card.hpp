#pragma once

#include <QWidget>

#include "presentation/design/text_shade.hpp"

namespace quorvane {

class ChipButton;
class Theme;
class WrappingLabel;

// The amber card at the end of the quick controls: "전체 복구" asks for the
// emergency recovery of every screen. The owner posts the confirmation; the
// card only reports the press and is never disabled.
class PanelRecoveryCard : public QWidget {
    Q_OBJECT

  public:
    explicit PanelRecoveryCard(Theme& theme, QWidget* parent = nullptr);

    // The tooltip follows the current emergency hot key.
    void setHelpText(const QString& text);
    ChipButton* recoverButton() const { return button_; }

  signals:
    void recoveryRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TextGround ground() const;
    void restyle();

    Theme& theme_;
    WrappingLabel* title_ = nullptr;
    WrappingLabel* detail_ = nullptr;
    ChipButton* button_ = nullptr;
};

}  // namespace quorvane
