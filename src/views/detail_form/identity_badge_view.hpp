#pragma once

#include <QWidget>

#include "presentation/detail_form/display_overview.hpp"

namespace quorvane {

class Theme;

// The identity badge: symbol and title in the tone's colour on a capsule
// tinted with the same colour.
class IdentityBadgeView : public QWidget {
    Q_OBJECT

  public:
    explicit IdentityBadgeView(Theme& theme, QWidget* parent = nullptr);

    void setBadge(const IdentityBadge& badge);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor toneColor() const;

    Theme& theme_;
    IdentityBadge badge_;
};

}  // namespace quorvane
