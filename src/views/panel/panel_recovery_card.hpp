#pragma once

#include <QFrame>

class QPushButton;

namespace quorvane {

// The amber card at the end of the quick controls: "전체 복구" asks for the
// emergency recovery of every screen. The owner posts the confirmation; the
// card only reports the press.
class PanelRecoveryCard : public QFrame {
    Q_OBJECT

  public:
    explicit PanelRecoveryCard(QWidget* parent = nullptr);

    // The tooltip follows the current emergency hot key.
    void setHelpText(const QString& text);
    QPushButton* recoverButton() const { return button_; }

  signals:
    void recoveryRequested();

  private:
    QPushButton* button_ = nullptr;
};

}  // namespace quorvane
