#pragma once

#include <QWidget>

class QLabel;

namespace quorvane {

class ChipButton;
class FitToWidth;
class Theme;

// The panel's footer: the store's status line (two lines at most) and the
// buttons that open the main window and the settings, side by side when
// they fit, else stacked.
class PanelFooterView : public QWidget {
    Q_OBJECT

  public:
    explicit PanelFooterView(Theme& theme, QWidget* parent = nullptr);

    void setStatus(const QString& text);
    ChipButton* openMainWindowButton() const { return openMain_; }
    ChipButton* settingsButton() const { return settings_; }

  signals:
    void openMainWindowRequested();
    void settingsRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void restyle();
    void showStatus();

    Theme& theme_;
    QString fullStatus_;
    QLabel* status_ = nullptr;
    FitToWidth* buttons_ = nullptr;
    ChipButton* openMain_ = nullptr;
    ChipButton* settings_ = nullptr;
};

}  // namespace quorvane
