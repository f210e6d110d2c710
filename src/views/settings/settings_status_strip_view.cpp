#include "views/settings/settings_status_strip_view.hpp"

#include <QBoxLayout>
#include <QResizeEvent>

#include "presentation/design/fit_arrangement.hpp"
#include "presentation/settings/settings_status_strip.hpp"
#include "services/display_store/display_store.hpp"
#include "views/design/settings_tinted_tile.hpp"
#include "views/design/theme.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr int kRowSpacing = 10;
constexpr int kColumnSpacing = 8;
constexpr double kLightFillOpacity = 0.54;
constexpr double kDarkFillOpacity = 0.4;
constexpr double kBorderOpacity = 0.3;

}  // namespace

// One tile: its title, its value in the tile's tint and its detail.
class SettingsStatusStripView::Tile : public SettingsTintedTile {
  public:
    Tile(Theme& theme, QWidget* parent)
        : SettingsTintedTile(theme, {ColorRole::track, kLightFillOpacity, kDarkFillOpacity, 12, {}},
                             parent) {
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(10, 10, 10, 10);
        column->setSpacing(4);
        title = themedLabel(theme, {}, QuorvaneFontStyle::caption2, QFont::Medium, true);
        value = themedLabel(theme, {}, QuorvaneFontStyle::caption, QFont::DemiBold);
        detail = themedLabel(theme, {}, QuorvaneFontStyle::caption2, QFont::Normal, true);
        value->setLineLimit(kStatusTileValueLines);
        detail->setLineLimit(kStatusTileDetailLines);
        column->addWidget(title);
        column->addWidget(value);
        column->addWidget(detail);
        column->addStretch(1);
    }

    void show(const SettingsStatusTile& tile) {
        title->setText(toQString(tile.title));
        value->setText(toQString(tile.value));
        detail->setText(toQString(tile.detail));
        value->setTextColor(theme().textColor(tile.tint));
        setBorder(ColorUse{tile.tint, kBorderOpacity});
    }

    WrappingLabel* title = nullptr;
    WrappingLabel* value = nullptr;
    WrappingLabel* detail = nullptr;
};

SettingsStatusStripView::SettingsStatusStripView(Theme& theme, DisplayStore& store, QWidget* parent)
    : QWidget(parent), theme_(theme), store_(store) {
    layout_ = new QBoxLayout(QBoxLayout::LeftToRight, this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(kRowSpacing);
    // Side by side each tile keeps its own height, centred on the others.
    for (auto*& tile : tiles_) {
        tile = new Tile(theme, this);
        layout_->addWidget(tile, 1, Qt::AlignVCenter);
    }
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    connect(&theme_, &Theme::changed, this, &SettingsStatusStripView::refresh);
    refresh();
}

void SettingsStatusStripView::refresh() {
    const auto tiles = settingsStatusTiles(store_.appearance(), store_.autoApplyEnabled());
    for (std::size_t index = 0; index < tiles.size(); ++index)
        tiles_[index]->show(tiles[index]);
    arrangeFor(width());
}

int SettingsStatusStripView::sideBySideWidth() const {
    int width = kRowSpacing * static_cast<int>(tiles_.size() - 1);
    for (auto* tile : tiles_)
        width += tile->sizeHint().width();
    return width;
}

void SettingsStatusStripView::arrangeFor(int width) {
    const bool row = chooseArrangement(sideBySideWidth(), width) == FitArrangement::horizontal;
    const auto direction = row ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    if (layout_->direction() == direction)
        return;
    layout_->setDirection(direction);
    layout_->setSpacing(row ? kRowSpacing : kColumnSpacing);
    updateGeometry();
}

bool SettingsStatusStripView::isSideBySide() const {
    return layout_->direction() == QBoxLayout::LeftToRight;
}

QString SettingsStatusStripView::tileValue(int index) const {
    return tiles_.at(static_cast<std::size_t>(index))->value->text();
}

WrappingLabel* SettingsStatusStripView::valueLabel(int index) const {
    return tiles_.at(static_cast<std::size_t>(index))->value;
}

WrappingLabel* SettingsStatusStripView::detailLabel(int index) const {
    return tiles_.at(static_cast<std::size_t>(index))->detail;
}

int SettingsStatusStripView::heightForWidth(int width) const {
    if (chooseArrangement(sideBySideWidth(), width) == FitArrangement::horizontal) {
        const int tileWidth = (width - kRowSpacing * 2) / 3;
        int tallest = 0;
        for (auto* tile : tiles_)
            tallest = std::max(tallest, tile->heightForWidth(tileWidth));
        return tallest;
    }
    int height = kColumnSpacing * 2;
    for (auto* tile : tiles_)
        height += tile->heightForWidth(width);
    return height;
}

void SettingsStatusStripView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrangeFor(event->size().width());
}

}  // namespace quorvane
