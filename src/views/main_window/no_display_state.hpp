#pragma once

#include <QWidget>
#include <functional>

class QLabel;

namespace quorvane {

class ChipButton;
class SymbolImage;
class Theme;

// What the detail column shows while the store lists no display: says so and
// offers the re-scan and the settings window as labelled buttons.
class NoDisplayState : public QWidget {
    Q_OBJECT

  public:
    NoDisplayState(Theme& theme, std::function<void()> rescan, std::function<void()> openSettings,
                   QWidget* parent = nullptr);

    ChipButton* rescanButton() const { return rescan_; }
    ChipButton* settingsButton() const { return settings_; }

  private:
    void restyle();

    Theme& theme_;
    SymbolImage* symbol_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* description_ = nullptr;
    ChipButton* rescan_ = nullptr;
    ChipButton* settings_ = nullptr;
};

}  // namespace quorvane
