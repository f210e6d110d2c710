#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <string>
#include <string_view>

class QPainter;

namespace quorvane {

class Theme;

// Draws the tile of a SymbolTileIcon in the square `frame` (a button label
// that carries one draws it this way): `ink` colours the symbol.
void paintSymbolTile(QPainter& painter, const QRectF& frame, std::string_view systemName,
                     const QColor& ink, const Theme& theme);
// Where the tile's symbol stands on a line of text, as a symbol set in
// `font`'s family at its size would: the baseline of that size's line
// centred in a tile `side` high.
int symbolTileBaseline(const QFont& font, int side);

// A system symbol on a neutral rounded tile with two decorative dots, the
// stand-in wherever an item has no glyph of its own. The symbol takes
// `foreground` (the surrounding text colour unless the caller tints it); the
// tile and dots are the secondary colour. Decorative: hidden from
// accessibility. Its size is the caller's and does not follow the text scale.
class SymbolTileIcon : public QWidget {
    Q_OBJECT

  public:
    SymbolTileIcon(Theme& theme, std::string systemName, int size, QWidget* parent = nullptr);

    void setSystemName(std::string systemName);
    // An explicit symbol colour; an invalid colour returns to the text colour.
    void setForeground(const QColor& color);
    QSize sizeHint() const override { return {size_, size_}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Theme& theme_;
    std::string systemName_;
    int size_;
    QColor foreground_;
};

}  // namespace quorvane
