#pragma once

#include <QLabel>

namespace quorvane {

// One line of text that, when the width it gets is too small, first shrinks
// its font down to `minimumScaleFactor` of the set size and only then elides
// (at the end, or in the middle for names such as target lists). Its ideal
// width is the full text at the full size; the accessible name stays the
// whole text.
//
// Usage: auto* title = new ShrinkingLabel(QStringLiteral("시스템"), 0.82, parent);
//        title->setFont(theme.font(QuorvaneFontStyle::caption2, QFont::DemiBold));
class ShrinkingLabel : public QLabel {
    Q_OBJECT

  public:
    ShrinkingLabel(const QString& text, double minimumScaleFactor, QWidget* parent = nullptr);

    void setElideMode(Qt::TextElideMode mode);
    void setTextColor(const QColor& color);

    // The font the text is drawn in at `width`, and the text that shows.
    QFont fittedFont(int width) const;
    QString shownText(int width) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    double minimumScaleFactor_;
    Qt::TextElideMode elideMode_ = Qt::ElideRight;
    QColor color_;
};

}  // namespace quorvane
