#pragma once

#include <QAbstractButton>
#include <QFont>
#include <string>

#include "presentation/design/typography.hpp"

namespace quorvane {

class Theme;

// The header of a disclosure: a chevron as tall as the font's capitals
// (right while closed, down while open), an optional system symbol and the
// title, drawn flat in the text colour whether open or closed — never as a
// pressed button. Checked means open. Follows the theme while it lives.
//
// Usage:
//   auto* header = new DisclosureButton(theme, QStringLiteral("숫자로 미세 조정"),
//                                       QuorvaneFontStyle::caption, QFont::DemiBold);
//   header->setSymbol("slider.horizontal.3");
//   connect(header, &QAbstractButton::toggled, content, &QWidget::setVisible);
class DisclosureButton : public QAbstractButton {
    Q_OBJECT

  public:
    DisclosureButton(Theme& theme, const QString& title, QuorvaneFontStyle style,
                     QFont::Weight weight, QWidget* parent = nullptr);

    void setSymbol(std::string systemName);
    const std::string& symbol() const { return symbol_; }

    // The chevron's side: the font's capital height and a little.
    int chevronSide() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    int symbolSide() const;

    Theme& theme_;
    std::string symbol_;
};

}  // namespace quorvane
