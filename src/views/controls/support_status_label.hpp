#pragma once

#include <QWidget>

#include "models/diagnostics/quorvane_support_status.hpp"

namespace quorvane {

class SymbolImage;
class Theme;
class WrappingLabel;

// A support status as its symbol and label, both in the status's tint, from
// the one status table. `iconOnly` draws just the symbol; screen readers
// still hear the label.
class SupportStatusLabel : public QWidget {
    Q_OBJECT

  public:
    SupportStatusLabel(Theme& theme, QuorvaneSupportStatus status, bool iconOnly,
                       QWidget* parent = nullptr);

    // A new status, shown in place.
    void setStatus(QuorvaneSupportStatus status);
    void setLabelFont(const QFont& font);
    QString labelText() const;
    std::string symbolName() const;

  private:
    void tint();

    Theme& theme_;
    QuorvaneSupportStatus status_;
    SymbolImage* symbol_;
    WrappingLabel* text_;
};

}  // namespace quorvane
