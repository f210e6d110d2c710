#pragma once

#include <QWidget>

namespace quorvane {

class DisplayStore;
class SegmentedPicker;
class Theme;
class WrappingLabel;

// The "보기" card: the text size and the appearance, each with a sentence
// about the value chosen now, and a preview line at the chosen size. It only
// shows the store's values and hands a pick to the store's setter.
class AppearanceCard : public QWidget {
    Q_OBJECT

  public:
    AppearanceCard(Theme& theme, DisplayStore& store, QWidget* parent = nullptr);

    void refresh();
    SegmentedPicker* textSizePicker() const { return textSizePicker_; }
    SegmentedPicker* appearancePicker() const { return appearancePicker_; }
    QString textSizeDetail() const;

  private:
    DisplayStore& store_;
    SegmentedPicker* textSizePicker_ = nullptr;
    SegmentedPicker* appearancePicker_ = nullptr;
    WrappingLabel* textSizeDetail_ = nullptr;
    WrappingLabel* appearanceDetail_ = nullptr;
};

}  // namespace quorvane
