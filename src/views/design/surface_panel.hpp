#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "presentation/design/surface_look.hpp"
#include "presentation/design/text_shade.hpp"
#include "views/design/text_baseline.hpp"

namespace quorvane {

class SurfaceShadowLayer;
class Theme;

// The cards windows wrap their content in: a soft panel (the ordinary card)
// or a hero panel (the card at the top of a page), a rounded surface with a
// thin border and a soft drop shadow that follow the scheme. The shadow
// spreads past the panel's edges: the widget around it draws it (see
// SurfaceShadowLayer), so leave a little room around panels. The padding is
// the widget's contents margins, so give the panel a layout with zero
// margins.
//
// Usage:
//   auto* card = new SurfacePanel(theme, SurfacePanel::Kind::soft, 16, 16);
//   auto* column = new QVBoxLayout(card);
//   column->setContentsMargins(0, 0, 0, 0);
class SurfacePanel : public QWidget {
    Q_OBJECT

  public:
    using Kind = SurfaceKind;

    SurfacePanel(Theme& theme, Kind kind, int padding, int cornerRadius, QWidget* parent = nullptr);
    ~SurfacePanel() override;

    // The rounded shape in the panel's own coordinates, its corner radius
    // and its shadow in the theme's scheme now.
    QRectF surfaceShape() const;
    int cornerRadius() const { return cornerRadius_; }
    SurfaceShadow shadow() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void joinShadowHost();

    Theme& theme_;
    Kind kind_;
    int cornerRadius_;
    QPointer<SurfaceShadowLayer> shadowLayer_;
};

// A short status text on a tinted capsule (11 % fill, 24 % border of the
// tint); the text colour is the caller's (setTextColor or the palette).
// setSymbol puts a system symbol of the text's line height before the text,
// in the text colour.
class StatusPill : public QWidget, public TextBaselined {
    Q_OBJECT

  public:
    StatusPill(Theme& theme, const QString& text, QWidget* parent = nullptr);

    void setText(const QString& text);
    // The text shown and, when it says more than the few words on screen
    // (a countdown's "8초" is "복구 알림이 8초 뒤 숨겨짐"), the name heard;
    // set together so a screen reader is told of one change, not two.
    void setText(const QString& text, const QString& spoken);
    QString text() const { return text_; }
    void setTint(const QColor& tint);
    void setTextColor(const QColor& color);
    // Tinted by `role`, its text in the shade of `role` that reads on the
    // pill's wash over `page` (call again when the theme changes).
    void setTone(ColorRole role, PageGround page);
    // Explicit fill and border instead of the tint's washes (invalid = tint).
    void setColors(const QColor& fill, const QColor& border);
    void setInsets(int horizontal, int vertical);
    void setSymbol(std::string systemName);
    const std::string& symbol() const { return symbol_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    std::optional<int> firstBaseline(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    Theme& theme_;
    QString text_;
    std::string symbol_;
    QColor tint_;
    QColor textColor_;
    QColor fill_;
    QColor border_;
    int horizontalInset_ = 9;
    int verticalInset_ = 5;
};

}  // namespace quorvane
