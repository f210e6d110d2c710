#pragma once

#include <QAbstractButton>
#include <QWidget>
#include <functional>
#include <string>

class QHBoxLayout;

namespace quorvane {

class Theme;

// A round 28-point button showing one symbol, for the utility header.
class HeaderIconButton : public QAbstractButton {
    Q_OBJECT

  public:
    HeaderIconButton(Theme& theme, std::string symbol, double symbolPoints,
                     QWidget* parent = nullptr);

    QSize sizeHint() const override { return {28, 28}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    Theme& theme_;
    std::string symbol_;
    double symbolPoints_;
    bool hovered_ = false;
};

// The strip over the detail column, with or without a display: the
// appearance switcher, re-scan and settings, at the trailing edge with at
// least 12 points free before them. The controls keep their size in a narrow
// window; only the free space shrinks. Where no tray shows the program's
// icon, a control that opens the panel comes first; it is hidden until the
// shell offers it.
class MainUtilityHeader : public QWidget {
    Q_OBJECT

  public:
    MainUtilityHeader(Theme& theme, std::function<void()> rescan,
                      std::function<void()> openSettings, std::function<void()> openPanel,
                      QWidget* parent = nullptr);

    // Places the appearance switcher first among the controls.
    void setAppearanceSwitcher(QWidget* switcher);

    HeaderIconButton* panelButton() const { return panel_; }
    HeaderIconButton* rescanButton() const { return rescan_; }
    HeaderIconButton* settingsButton() const { return settings_; }

  private:
    QHBoxLayout* controls_ = nullptr;
    HeaderIconButton* panel_ = nullptr;
    HeaderIconButton* rescan_ = nullptr;
    HeaderIconButton* settings_ = nullptr;
};

}  // namespace quorvane
