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
// Use setSelectable(true) for lines the user may copy.
class WrappingLabel : public QLabel {
    Q_OBJECT

  public:
    explicit WrappingLabel(const QString& text = {}, QWidget* parent = nullptr);

    void setSelectable(bool selectable);
    // Secondary text colour (the palette's placeholder role) or the normal one.
    void setSecondary(bool secondary);
    void setTextColor(const QColor& color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    int heightForWidth(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool selectable() const;
    int layoutHeight(int width, QPainter* painter) const;

    QColor color_;
};

}  // namespace quorvane
