#pragma once

#include <QWidget>
#include <array>

class QBoxLayout;

namespace quorvane {

class DisplayStore;
class Theme;
class WrappingLabel;

// The three status tiles under the hero: side by side, sharing the width,
// while they fit; stacked, each full width, otherwise.
class SettingsStatusStripView : public QWidget {
    Q_OBJECT

  public:
    SettingsStatusStripView(Theme& theme, DisplayStore& store, QWidget* parent = nullptr);

    void refresh();
    bool isSideBySide() const;
    QString tileValue(int index) const;
    // A tile's value (one line at most) and detail (two at most).
    WrappingLabel* valueLabel(int index) const;
    WrappingLabel* detailLabel(int index) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    class Tile;

    void arrangeFor(int width);
    int sideBySideWidth() const;

    Theme& theme_;
    DisplayStore& store_;
    QBoxLayout* layout_ = nullptr;
    std::array<Tile*, 3> tiles_{};
};

}  // namespace quorvane
