#pragma once

#include <QAbstractButton>
#include <string>

#include "presentation/design/button_look.hpp"

namespace quorvane {

class Theme;

// The push button of every window. A chip is a capsule as wide as its label
// (actions: re-scan, apply, undo, ...); a tile (TileButton) fills its grid
// cell with the label at the leading edge (the panel's preset grid). Both
// colour themselves by prominence, scheme, press and enabled state, and grow
// with the text size (minimum heights 30…46 for chips, 48…56 for tiles).
// The label is the window's base font unless setFont() says otherwise; an
// optional symbol sits before it; a tile may carry a second, secondary line.
//
// Usage:
//   auto* undo = new ChipButton(theme, QStringLiteral("되돌리기"), QuorvaneChipProminence::accent);
//   connect(undo, &QAbstractButton::clicked, ...);
class ChipButton : public QAbstractButton {
    Q_OBJECT

  public:
    ChipButton(Theme& theme, const QString& text, QuorvaneChipProminence prominence,
               QWidget* parent = nullptr);

    QuorvaneChipProminence prominence() const { return prominence_; }
    // A system symbol name drawn before the text ("" for none).
    void setSymbol(std::string systemName);
    void setDetailText(const QString& detail);
    // The look in the current state (for tests and custom painting).
    ButtonLook look() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    ChipButton(Theme& theme, const QString& text, QuorvaneChipProminence prominence,
               ButtonShape shape, QWidget* parent);
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    int symbolSide() const;
    // The symbol and the gap after it; 0 without a symbol.
    int symbolRoom() const;
    int minimumHeight() const;

    Theme& theme_;
    QuorvaneChipProminence prominence_;
    ButtonShape shape_;
    std::string symbol_;
    QString detail_;
};

// The full-width tile form of the same button.
class TileButton : public ChipButton {
    Q_OBJECT

  public:
    TileButton(Theme& theme, const QString& text, QuorvaneChipProminence prominence,
               QWidget* parent = nullptr);
};

}  // namespace quorvane
