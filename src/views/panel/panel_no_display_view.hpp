#pragma once

#include <QWidget>

class QLabel;

namespace quorvane {

class ChipButton;
class SymbolImage;
class Theme;
class WrappingLabel;

// What the panel shows when no display is active: one stack centred in a
// block at least 220 high (taller only when its content needs it): the
// symbol, why, and the two ways on (re-scan, or the main window's
// explanation), side by side when they fit and centred under each other
// when not.
class PanelNoDisplayView : public QWidget {
    Q_OBJECT

  public:
    explicit PanelNoDisplayView(Theme& theme, QWidget* parent = nullptr);

    ChipButton* rescanButton() const { return rescan_; }
    ChipButton* explanationButton() const { return why_; }

  signals:
    void rescanRequested();
    void mainWindowRequested();

  private:
    void restyle();

    Theme& theme_;
    SymbolImage* icon_ = nullptr;
    QLabel* title_ = nullptr;
    WrappingLabel* description_ = nullptr;
    ChipButton* rescan_ = nullptr;
    ChipButton* why_ = nullptr;
};

}  // namespace quorvane
