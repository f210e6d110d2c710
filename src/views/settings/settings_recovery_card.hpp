#pragma once

#include <QWidget>

namespace quorvane {

class SettingsActionCard;
class Theme;

// The "안전 복구" card: the full reset, which the window confirms first.
class SettingsRecoveryCard : public QWidget {
    Q_OBJECT

  public:
    explicit SettingsRecoveryCard(Theme& theme, QWidget* parent = nullptr);

    SettingsActionCard* resetAction() const { return reset_; }

  signals:
    void resetRequested();

  private:
    SettingsActionCard* reset_ = nullptr;
};

}  // namespace quorvane
