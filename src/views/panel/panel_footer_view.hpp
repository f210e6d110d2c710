#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace quorvane {

// The panel's footer: the store's status line and the buttons that open the
// main window and the settings.
class PanelFooterView : public QWidget {
    Q_OBJECT

  public:
    explicit PanelFooterView(QWidget* parent = nullptr);

    void setStatus(const QString& text);
    QLabel* statusLabel() const { return status_; }
    QPushButton* openMainWindowButton() const { return openMain_; }
    QPushButton* settingsButton() const { return settings_; }

  signals:
    void openMainWindowRequested();
    void settingsRequested();

  private:
    QLabel* status_ = nullptr;
    QPushButton* openMain_ = nullptr;
    QPushButton* settings_ = nullptr;
};

}  // namespace quorvane
