#pragma once

#include <QAbstractButton>
#include <optional>
#include <string>

#include "presentation/design/action_button_label.hpp"
#include "presentation/design/baseline_alignment.hpp"
#include "presentation/design/button_look.hpp"

class QPainter;

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
    void setProminence(QuorvaneChipProminence prominence);
    // A destructive button keeps its label in the destructive colour.
    void setRole(ButtonRole role);
    ButtonRole role() const { return role_; }
    // A system symbol name drawn before the text ("" for none).
    void setSymbol(std::string systemName);
    void setDetailText(const QString& detail);
    // Frames the label as an accessible button frame (tiles): `padding`
    // beside it and 4 above and below, at least the text size's accessible
    // height, the label wrapping onto as many lines as it needs.
    void setAccessibleFrame(double horizontalPadding);
    // Makes a chip an action card's button: its symbol on a tile of the
    // label's size and its title wrapping to the label's line limit, so the
    // chip may be narrower than its one-line width and grows taller instead.
    void setActionLabel(const ActionButtonLabel& label = kActionButtonLabel);
    // Draws the chip in `frame` instead of its shape's insets, least height
    // and capsule corners.
    void setFrame(const ButtonFrame& frame);
    // The look in the current state (for tests and custom painting).
    ButtonLook look() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override {
        return framePadding_.has_value() || actionLabel_.has_value();
    }
    int heightForWidth(int width) const override;

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
    ButtonInsets insets() const;
    // The label shown (mnemonic marks resolved, see mnemonic_text.hpp).
    QString shownText() const;
    // Height of the wrapped label (and detail) in `width` for a framed tile.
    int wrappedTextHeight(int width) const;
    void paintWrapped(QPainter& painter, const QRectF& area, const QString& label,
                      const QColor& ink) const;
    int actionTitleHeight(double titleWidth) const;
    // Where an action label's tile and title stand (tops, from the label's
    // top) and how tall the label is, for a title `titleWidth` wide.
    BaselineLine actionLabelLine(double titleWidth) const;
    void paintActionLabel(QPainter& painter, const QColor& ink) const;

    Theme& theme_;
    QuorvaneChipProminence prominence_;
    ButtonShape shape_;
    ButtonRole role_ = ButtonRole::none;
    std::string symbol_;
    QString detail_;
    std::optional<double> framePadding_;
    std::optional<ActionButtonLabel> actionLabel_;
    std::optional<ButtonFrame> frame_;
};

// The full-width tile form of the same button.
class TileButton : public ChipButton {
    Q_OBJECT

  public:
    TileButton(Theme& theme, const QString& text, QuorvaneChipProminence prominence,
               QWidget* parent = nullptr);
};

}  // namespace quorvane
