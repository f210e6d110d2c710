#pragma once

#include <QWidget>
#include <vector>

#include "presentation/panel/panel_header.hpp"

class QAction;
class QIcon;
class QMenu;
class QToolButton;

namespace quorvane {

class PanelPickerChip;
class Theme;
class WrappingLabel;

// The panel's heading row: a small screen drawing, the display's name and
// what can be tuned, the display picker (with two or more displays) and
// the options menu (re-scan, text sizes).
class PanelHeaderView : public QWidget {
    Q_OBJECT

  public:
    explicit PanelHeaderView(Theme& theme, QWidget* parent = nullptr);

    void setHeader(const PanelHeader& header, const std::vector<PanelDisplayPickerItem>& displays,
                   const std::vector<PanelTextSizeItem>& textSizes);

    PanelPickerChip* displayPicker() const { return picker_; }
    QMenu* displayMenu() const { return pickerMenu_; }
    QMenu* optionsMenu() const { return optionsMenu_; }
    WrappingLabel* titleLabel() const { return title_; }
    WrappingLabel* subtitleLabel() const { return subtitle_; }

  signals:
    void displayChosen(DisplayID displayID);
    void rescanRequested();
    void textSizeChosen(QuorvaneTextSize size);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void restyle();
    void fillPicker(const std::vector<PanelDisplayPickerItem>& displays);
    void fillOptions(const std::vector<PanelTextSizeItem>& textSizes);
    QIcon rescanIcon() const;

    // The menus are rebuilt only when their choices change, so a menu left
    // open across a store change keeps working; a new tick, words or ink
    // (the user's own choice from the menu, a new text size) go on the
    // items in place: the item a screen reader was told held the focus is
    // still there as the menu closes, else the screen reader hears the focus
    // come back with the whole window named before it.
    std::vector<PanelDisplayPickerItem> shownDisplays_;
    std::vector<PanelTextSizeItem> shownTextSizes_;
    Theme& theme_;
    WrappingLabel* title_ = nullptr;
    WrappingLabel* subtitle_ = nullptr;
    PanelPickerChip* picker_ = nullptr;
    QWidget* pickerGap_ = nullptr;
    QMenu* pickerMenu_ = nullptr;
    QToolButton* options_ = nullptr;
    QMenu* optionsMenu_ = nullptr;
    QAction* rescan_ = nullptr;
};

}  // namespace quorvane
