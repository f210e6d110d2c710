#pragma once

#include <optional>

class QFont;
class QString;
class QLayoutItem;
class QWidget;

namespace quorvane {

// Widgets that draw their own text say where its first line stands: the
// distance from their top to that line's baseline when laid out `width`
// wide at the height they ask for. Rows aligned on the first text baseline
// read it through firstTextBaseline().
class TextBaselined {
  public:
    virtual ~TextBaselined() = default;
    virtual std::optional<int> firstBaseline(int width) const = 0;
};

// The first text baseline of a widget laid out `width` wide: its own answer
// when it is TextBaselined, a label's from its font, a container's from the
// first item of its layout (a row's from its items), none for anything
// without text.
std::optional<int> firstTextBaseline(const QWidget* widget, int width);
std::optional<int> firstTextBaseline(QLayoutItem* item, int width);

// The baseline of the first line of `text` set `lineWidth` wide from the
// top of its box (a title a widget draws itself).
int firstLineBaseline(const QFont& font, const QString& text, double lineWidth);
// The baseline of `text`, one line of `font`, centred in a box `height`
// tall, as QPainter::drawText centres it (a capsule's title).
int centredTextBaseline(const QFont& font, const QString& text, int height);
// The baseline of a line of `font`'s own metrics centred in a box `height`
// tall (text drawn at the font's ascent, a symbol on the font's line).
int centredFontBaseline(const QFont& font, int height);

}  // namespace quorvane
