#pragma once

#include <QLabel>

namespace quorvane {

// Plain text that wraps onto as many lines as it needs and never truncates:
// its ideal width is the unwrapped text (so a fit-to-width row measures it
// right), its height follows the width it gets, and a word longer than the
// line breaks anywhere rather than being clipped. Right-to-left text keeps
// its own direction and stays at the leading edge.
//
// Usage: auto* note = new WrappingLabel(QStringLiteral("…"), parent);
//        note->setFont(theme.font(QuorvaneFontStyle::caption));
//        note->setForegroundRole(QPalette::PlaceholderText);  // secondary text
// Use setSelectable(true) for lines the user may copy; setAlignment with
// Qt::AlignHCenter centres each line.
// setLineLimit(2, 0.86) keeps a long text to two lines instead: it first
// shrinks to no less than 0.86 of its size and only then cuts the last line
// with "…" (the accessible text stays whole). Selectable text ignores the
// limit. setKeepsWordsWhole(true) makes the widest word (a key combination
// such as "Super+Shift+L") the least width the label asks for, so a layout
// that honours it never splits a word.
class WrappingLabel : public QLabel {
    Q_OBJECT

  public:
    explicit WrappingLabel(const QString& text = {}, QWidget* parent = nullptr);

    void setSelectable(bool selectable);
    // Secondary text colour (the palette's placeholder role) or the normal one.
    void setSecondary(bool secondary);
    void setTextColor(const QColor& color);
    // At most `lines` lines (0 = no limit), shrinking down to
    // `minimumScaleFactor` of the font size before the end is cut.
    void setLineLimit(int lines, double minimumScaleFactor = 1.0);
    void setKeepsWordsWhole(bool whole);
    // The font the text is drawn in at `width` (the set font unless shrunk).
    QFont fittedFont(int width) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    int heightForWidth(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool selectable() const;
    int layoutHeight(int width, QPainter* painter) const;
    double contentHeight(const QFont& font, double lineWidth, int limit, QPainter* painter) const;
    int linesAt(const QFont& font, double lineWidth) const;

    QColor color_;
    int lineLimit_ = 0;
    double minimumScaleFactor_ = 1.0;
    bool wordsWhole_ = false;
};

}  // namespace quorvane
