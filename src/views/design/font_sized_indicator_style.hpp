#pragma once

#include <QProxyStyle>

namespace quorvane {

// Draws a check box's indicator as tall as the widget's text instead of the
// style's fixed 13 pixels, so the box grows with the text size (a tiny box
// beside large text is hard to see and to hit). Set it on one widget and
// parent it there: `box->setStyle(new FontSizedIndicatorStyle(box));`.
class FontSizedIndicatorStyle : public QProxyStyle {
    Q_OBJECT

  public:
    explicit FontSizedIndicatorStyle(QWidget* owner);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

}  // namespace quorvane
