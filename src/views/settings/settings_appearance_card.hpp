#pragma once

#include <QWidget>

namespace quorvane {

class AppearanceSwitcher;
class DisplayStore;
class SettingsSegmentedPicker;
class WrappingLabel;
struct ViewContext;

// The "보기" card: the text size and the appearance, each with a sentence
// about the value chosen now, and a preview line at the chosen size. It only
// shows the store's values and hands a pick to the store's setter.
class SettingsAppearanceCard : public QWidget {
    Q_OBJECT

  public:
    explicit SettingsAppearanceCard(ViewContext& context, QWidget* parent = nullptr);

    // The texts and the text size; the switcher follows the store itself.
    void refresh();
    SettingsSegmentedPicker* textSizePicker() const { return textSizePicker_; }
    AppearanceSwitcher* appearanceSwitcher() const { return appearanceSwitcher_; }
    QString textSizeDetail() const;

  private:
    DisplayStore& store_;
    SettingsSegmentedPicker* textSizePicker_ = nullptr;
    AppearanceSwitcher* appearanceSwitcher_ = nullptr;
    WrappingLabel* textSizeDetail_ = nullptr;
    WrappingLabel* appearanceDetail_ = nullptr;
};

}  // namespace quorvane
