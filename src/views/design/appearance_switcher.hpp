#pragma once

#include <QAbstractButton>
#include <QWidget>
#include <vector>

#include "presentation/controls/appearance_switcher_model.hpp"

class QLabel;

namespace quorvane {

class DisplayStore;
class FitToWidth;
class SymbolImage;
class Theme;
struct ViewContext;

// The segmented control that chooses how windows are drawn: following the
// system, always light or always dark. It reads the store's choice on every
// store or theme change (restyling only on theme changes) and writes through
// DisplayStore::setAppearance (also when the option is already chosen; the
// store saves and reports again).
// `panel` sits on a card with a track and a "화면 모드" label that moves above
// the options when the card is narrow; `toolbar` sits in a header bar with an
// icon label. Compact switchers show titles only at the largest text size.
class AppearanceSwitcher : public QWidget {
    Q_OBJECT

  public:
    using Chrome = AppearanceSwitcherModel::Chrome;

    AppearanceSwitcher(ViewContext& context, bool includeSystem, bool compact, Chrome chrome,
                       QWidget* parent = nullptr);

    // Re-reads the store and the theme.
    void refresh();
    QAbstractButton* optionButton(QuorvaneAppearance option) const;
    // Named by a heading outside it that says the same (a settings block's
    // title): its own label is then drawn for the eye only, so the words
    // are read once.
    void labelByHeading(QWidget* heading);

  private:
    // The checked option and the label's symbol, from the store's choice.
    void syncSelection();
    // Fonts, colours and sizes, from the theme.
    void restyle();

    DisplayStore& store_;
    Theme& theme_;
    bool includeSystem_;
    bool compact_;
    Chrome chrome_;
    FitToWidth* fit_;
    QWidget* label_;
    SymbolImage* labelSymbol_;
    QLabel* labelText_;
    QWidget* track_;
    std::vector<QAbstractButton*> options_;
};

}  // namespace quorvane
