#pragma once

#include <QProxyStyle>

namespace quorvane {

// The one style of every window: Fusion, whose frames and grooves follow the
// theme's palette, with push buttons given room around their text. Fusion
// leaves a few pixels beside a button's label, which makes short Korean
// labels ("저장", "되돌리기") look cramped at every text size; the padding here
// grows with the button's font. Install it once:
// `QApplication::setStyle(new ApplicationStyle);` (the application owns it).
class ApplicationStyle : public QProxyStyle {
    Q_OBJECT

  public:
    ApplicationStyle();

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
};

}  // namespace quorvane
