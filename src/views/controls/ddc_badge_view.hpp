#pragma once

#include <QWidget>

#include "services/ddc/ddc_capability_badge.hpp"

class QLabel;

namespace quorvane {

class BusySpinner;
class SymbolImage;
class Theme;
class WrappingLabel;

// A monitor's DDC capability inline: a small busy indicator while a probe
// runs, otherwise the badge's symbol, beside its title, both in the tone's
// colour; the detail below only when asked for. The symbol and title take
// the font the host sets on this widget (caption in one place, body in
// another). Call setBadge() with the store's current badge on every change.
class DDCBadgeView : public QWidget {
    Q_OBJECT

  public:
    DDCBadgeView(Theme& theme, bool showDetail, QWidget* parent = nullptr);

    void setBadge(const DDCCapabilityBadge& badge);
    // Off, the badge's own symbol stands while a probe runs too (the panel's
    // status line names it as its label's symbol).
    void setSpinsWhileChecking(bool spins);
    const DDCCapabilityBadge& badge() const { return badge_; }
    bool showsSpinner() const;
    bool showsDetail() const;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void restyle();

    Theme& theme_;
    bool showDetail_;
    bool spinsWhileChecking_ = true;
    DDCCapabilityBadge badge_;
    BusySpinner* spinner_;
    SymbolImage* symbol_;
    QLabel* title_;
    WrappingLabel* detail_;
};

}  // namespace quorvane
