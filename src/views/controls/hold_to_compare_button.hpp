#pragma once

#include <QWidget>
#include <memory>

#include "platform/interfaces/display_managing.hpp"
#include "presentation/controls/hold_to_compare.hpp"

class QLabel;

namespace quorvane {

class SymbolImage;
class Theme;
class WrappingLabel;
struct ViewContext;

// Shows one display without the software colour correction for exactly as
// long as the pointer is held down on it: the press asks the store for a
// temporary neutral comparison and every way the press can end hands the
// token back — release (wherever the pointer is), a lost mouse grab, the
// widget hidden or destroyed, its window or the application losing focus,
// and the accessible default action, which toggles instead. It is a Tab
// stop whose Space toggles as that action does; the value such a toggle
// leads to is read out. For a keyboard user leaving the area is letting go:
// the comparison ends when the focus leaves it. When the store ends the
// comparison itself (correction switched off, the display's colour changed
// meanwhile), the area shows and says the current colour again and the next
// Space starts a new comparison. While it can neither start nor end one it
// reads as text with no action; a screen reader, which keeps the role it
// met, is given a new object each time that changes (tellAsNewObject()).
//
// setComparisonEnabled() is the window's "may start" flag (correction on and
// the display's effect active); windows pass false while this button's own
// comparison runs, so it never maps to setEnabled(): a disabled widget would
// receive no release. It only guards the start.
//
// Usage: new HoldToCompareButton(context, display.id, /*compact*/ false, parent)
//        and call setComparisonEnabled(...) on every store change (it also
//        catches up with a comparison the store ended).
class HoldToCompareButton : public QWidget {
    Q_OBJECT

  public:
    HoldToCompareButton(ViewContext& context, DisplayID displayID, bool compact,
                        QWidget* parent = nullptr);
    // With the store calls given directly (tests, galleries).
    HoldToCompareButton(Theme& theme, HoldToCompareSession::Begin begin,
                        HoldToCompareSession::End end, bool compact, QWidget* parent = nullptr,
                        HoldToCompareSession::Runs runs = {});
    ~HoldToCompareButton() override;

    void setComparisonEnabled(bool enabled);
    bool comparisonEnabled() const { return session_.enabled(); }
    bool comparing() const { return session_.comparing(); }
    // The accessible default action.
    void toggleForAccessibility();
    HoldToCompareTexts texts() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void endComparison();
    void refresh();
    void tellValue();
    void tellRole();

    Theme& theme_;
    bool compact_;
    HoldToCompareSession session_;
    bool pressed_ = false;
    // The state last shown, so a store change that ended the comparison is
    // drawn and told although the window's flag stayed the same.
    HoldToCompareTexts shown_;
    // Whether a screen reader was last told of a button (else of text).
    bool toldAsButton_;
    SymbolImage* symbol_;
    QLabel* title_;
    WrappingLabel* caption_;
};

}  // namespace quorvane
