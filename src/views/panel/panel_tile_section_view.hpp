#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "presentation/panel/panel_tile_sections.hpp"

class QAbstractButton;
class QGridLayout;
class QLabel;
class QPushButton;

namespace quorvane {

class KeyedRows;
class Theme;
class WrappingLabel;

// A section of one-tap tiles under the quick tuning card: the work-mode
// strip (one row of tiles) or the preset grid (columns by text size), with
// its header, optional show-all link and note. A tap reports the tile's
// index; the owner makes the one store call.
class PanelTileSectionView : public QWidget {
    Q_OBJECT

  public:
    enum class Shape { strip, grid };

    PanelTileSectionView(Theme& theme, Shape shape, QWidget* parent = nullptr);
    ~PanelTileSectionView() override;

    void setSection(const PanelTileSection& section, int columns);
    // In the order shown.
    std::vector<QAbstractButton*> tiles() const;
    QPushButton* showAllButton() const { return showAll_; }

  signals:
    void tileTapped(int index);
    void showAllRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void showTiles(const PanelTileSection& section, int columns);
    QWidget* makeTile(const PanelTile& tile);
    void showTile(QWidget* widget, const PanelTile& tile);
    void restyle();

    Theme& theme_;
    Shape shape_;
    QLabel* title_ = nullptr;
    QPushButton* showAll_ = nullptr;
    QWidget* tileArea_ = nullptr;
    QGridLayout* tileLayout_ = nullptr;
    WrappingLabel* note_ = nullptr;
    std::unique_ptr<KeyedRows> tiles_;
    PanelTileSection shown_;
    int shownColumns_ = 0;
    int perRow_ = 1;
};

}  // namespace quorvane
