#pragma once

#include <QWidget>

#include "presentation/settings/settings_toggle_row.hpp"

class QCheckBox;

namespace quorvane {

class StatusPill;
class Theme;
class WrappingLabel;

// One switch of a settings card: the title and its explanation (wrapping,
// taking the width), the switch at the trailing edge and, when the row has
// one, a status pill underneath. show() updates it in place; only a click
// by the user emits toggled(), so showing the store's state never writes.
class SettingsToggleRowView : public QWidget {
    Q_OBJECT

  public:
    SettingsToggleRowView(Theme& theme, QWidget* parent = nullptr);

    void show(const SettingsToggleRow& row);
    QCheckBox* toggle() const { return toggle_; }
    // The pill, or null while the row has no status.
    StatusPill* statusPill() const;

  signals:
    void toggled(bool on);

  private:
    // The switch's size and the pill's font follow the theme; the pill's
    // tint follows the row as well.
    void restyle();
    void tintPill();

    Theme& theme_;
    SettingsToggleRow row_;
    WrappingLabel* title_ = nullptr;
    WrappingLabel* detail_ = nullptr;
    QCheckBox* toggle_ = nullptr;
    StatusPill* pill_ = nullptr;
};

}  // namespace quorvane
