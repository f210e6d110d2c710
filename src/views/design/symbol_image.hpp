#pragma once

#include <QColor>
#include <QWidget>
#include <string>

#include "views/design/text_baseline.hpp"

namespace quorvane {

// A bare system symbol that takes the size of the text around it: set at
// its own font's size (set the font as for the neighbouring text) by the one
// symbol rule of symbolSide(), centred on that font's line, drawn in `color`
// inside the contents margins (padding). Hidden from accessibility: the
// text beside it says what it means.
//
// Usage: auto* icon = new SymbolImage("checkmark.circle.fill", parent);
//        icon->setFont(label->font()); icon->setColor(theme.color(ColorRole::systemGreen));
class SymbolImage : public QWidget, public TextBaselined {
    Q_OBJECT

  public:
    explicit SymbolImage(std::string systemName, QWidget* parent = nullptr);

    void setSystemName(std::string systemName);
    const std::string& systemName() const { return systemName_; }
    void setColor(const QColor& color);
    const QColor& color() const { return color_; }
    // A fixed side (symbolSide() of its points) instead of the font's size
    // (0 = follow the font).
    void setFixedSide(int side);
    // The side the symbol is drawn at.
    int side() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // Following a font, the symbol stands on that font's line like a glyph.
    std::optional<int> firstBaseline(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    std::string systemName_;
    QColor color_;
    int fixedSide_ = 0;
};

}  // namespace quorvane
