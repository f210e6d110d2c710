#pragma once

#include <QProxyStyle>

namespace quorvane {

// The one style of every window: Fusion, whose frames and grooves follow the
// theme's palette, with the standard controls sized by the control size of
// the window they sit in (see window_control_size.hpp): slider thumbs and
// tracks, check boxes and radio buttons, pickers and their drop-down
// arrows, and the least height of push buttons all grow with the user's
// text size. Fusion also leaves a few pixels beside a button's label, which
// makes short Korean labels ("저장", "되돌리기") look cramped at every text
// size; the padding here grows with the button's font. Scroll bars are slim
// tracks in the window's colours with a rounded thumb and no arrow buttons,
// in the light and the dark scheme alike. Install it once:
// `QApplication::setStyle(new ApplicationStyle);` (the application owns it).
class ApplicationStyle : public QProxyStyle {
    Q_OBJECT

  public:
    ApplicationStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl subControl, const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace quorvane
