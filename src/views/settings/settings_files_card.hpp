#pragma once

#include <QWidget>

namespace quorvane {

class SettingsActionCard;
class Theme;

// The "설정 파일" card: export and import, both handled by the window.
class SettingsFilesCard : public QWidget {
    Q_OBJECT

  public:
    explicit SettingsFilesCard(Theme& theme, QWidget* parent = nullptr);

    SettingsActionCard* exportAction() const { return export_; }
    SettingsActionCard* importAction() const { return import_; }

  signals:
    void exportRequested();
    void importRequested();

  private:
    SettingsActionCard* export_ = nullptr;
    SettingsActionCard* import_ = nullptr;
};

}  // namespace quorvane
