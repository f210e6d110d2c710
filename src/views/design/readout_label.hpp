#pragma once

#include <QString>
#include <QWidget>

#include "views/design/text_baseline.hpp"

namespace quorvane {

// A value readout ("60%", "6500K", "1.37") with monospaced digits: every
// digit takes the width of the font's widest digit, so a changing number
// never shifts its row and the values of stacked rows line up. Other
// characters keep their own widths. It draws in its foreground role's
// colour (set QPalette::PlaceholderText for secondary text) and reads as
// its text to assistive technology.
class ReadoutLabel : public QWidget, public TextBaselined {
    Q_OBJECT

  public:
    explicit ReadoutLabel(QWidget* parent = nullptr);

    void setText(const QString& text);
    const QString& text() const { return text_; }
    void setAlignment(Qt::Alignment alignment);
    // The width `text` takes in this label's font.
    double textWidth(const QString& text) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    std::optional<int> firstBaseline(int width) const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    double digitWidth() const;

    QString text_;
    Qt::Alignment alignment_ = Qt::AlignRight | Qt::AlignVCenter;
};

}  // namespace quorvane
