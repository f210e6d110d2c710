#include "views/panel/panel_tile_section_view.hpp"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "views/access/accessible_role.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/keyed_rows.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/panel/panel_scene_tile.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr double kPresetFramePadding = 8;

}  // namespace

PanelTileSectionView::PanelTileSectionView(Theme& theme, Shape shape, QWidget* parent)
    : QWidget(parent), theme_(theme), shape_(shape) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    title_ = new QLabel(this);
    showAll_ = new QPushButton(this);
    showAll_->setFlat(true);
    showAll_->setCursor(Qt::PointingHandCursor);
    header->addWidget(title_);
    header->addStretch(1);
    header->addWidget(showAll_);
    layout->addLayout(header);

    tileArea_ = new QWidget(this);
    tileLayout_ = new QGridLayout(tileArea_);
    const int padding = shape == Shape::strip ? 3 : 0;
    tileLayout_->setContentsMargins(padding, padding, padding, padding);
    tileLayout_->setHorizontalSpacing(shape == Shape::strip ? 3 : 6);
    tileLayout_->setVerticalSpacing(8);
    layout->addWidget(tileArea_);

    note_ = new WrappingLabel(QString(), this);
    note_->setSecondary(true);
    layout->addWidget(note_);
    // A group named by its title: heard on the way into its tiles, and
    // where the focus rests once a tile's undo prompt goes.
    readAs(this, QAccessible::Grouping);
    labelBy(this, title_);
    connect(showAll_, &QPushButton::clicked, this, &PanelTileSectionView::showAllRequested);
    connect(&theme_, &Theme::changed, this, &PanelTileSectionView::restyle);
    restyle();
}

void PanelTileSectionView::restyle() {
    title_->setFont(theme_.font(QuorvaneFontStyle::body, QFont::Bold));
    QPalette titlePalette = title_->palette();
    titlePalette.setColor(QPalette::WindowText, theme_.color(ColorRole::secondary));
    title_->setPalette(titlePalette);
    showAll_->setFont(theme_.font(QuorvaneFontStyle::callout, QFont::DemiBold));
    QPalette linkPalette = showAll_->palette();
    linkPalette.setColor(QPalette::ButtonText, theme_.color(ColorRole::accent));
    showAll_->setPalette(linkPalette);
    note_->setFont(theme_.font(shape_ == Shape::grid ? QuorvaneFontStyle::caption2
                                                     : QuorvaneFontStyle::caption));
    if (shape_ == Shape::grid) {
        for (QAbstractButton* tile : tiles())
            tile->setFont(theme_.font(QuorvaneFontStyle::body, QFont::DemiBold));
    }
    update();
}

void PanelTileSectionView::paintEvent(QPaintEvent*) {
    if (shape_ != Shape::strip || !tiles_ || tiles_->size() == 0)
        return;
    // The strip's tiles sit together on one shared rounded tray.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(theme_.color(ColorRole::surfaceBorder), 1));
    painter.setBrush(theme_.color(ColorRole::track, 0.7));
    painter.drawRoundedRect(QRectF(tileArea_->geometry()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
}

void PanelTileSectionView::setSection(const PanelTileSection& section, int columns) {
    title_->setText(QString::fromStdString(section.title));
    showAll_->setVisible(section.showAll.has_value());
    if (section.showAll) {
        showAll_->setText(QString::fromStdString(section.showAll->title));
        showAll_->setToolTip(QString::fromStdString(section.showAll->helpText));
        // Both sections' links say "전체 n개 보기": heard, each tells which
        // list it opens (its help text names it).
        setSpokenDescription(showAll_, QString::fromStdString(section.showAll->helpText));
    }
    note_->setVisible(section.note.has_value());
    note_->setText(QString::fromStdString(section.note.value_or("")));
    if (section.tiles != shown_.tiles || columns != shownColumns_)
        showTiles(section, columns);
    shown_ = section;
}

// Each item keeps its tile while it is shown: a new name, help text or
// column count changes the tiles in place, under the one the user pressed.
void PanelTileSectionView::showTiles(const PanelTileSection& section, int columns) {
    const int count = static_cast<int>(section.tiles.size());
    const int perRow = shape_ == Shape::strip ? std::max(count, 1) : std::max(columns, 1);
    for (int column = 0; column < std::max(perRow, shownColumns_); ++column)
        tileLayout_->setColumnStretch(column, column < perRow ? 1 : 0);
    shownColumns_ = columns;
    if (!tiles_) {
        tiles_ = std::make_unique<KeyedRows>([this](const std::vector<QWidget*>& tiles) {
            for (std::size_t index = 0; index < tiles.size(); ++index) {
                const int at = static_cast<int>(index);
                tileLayout_->removeWidget(tiles[index]);
                tileLayout_->addWidget(tiles[index], at / perRow_, at % perRow_, Qt::AlignTop);
            }
        });
    }
    perRow_ = perRow;
    std::vector<std::string> ids;
    for (const auto& tile : section.tiles)
        ids.push_back(tile.id);
    tiles_->show(
        ids,
        [this, &section](std::size_t index) {
            QWidget* tile = makeTile(section.tiles[index]);
            showTile(tile, section.tiles[index]);
            return tile;
        },
        [this, &section](QWidget* tile, std::size_t index) {
            showTile(tile, section.tiles[index]);
        });
    restyle();
}

QWidget* PanelTileSectionView::makeTile(const PanelTile& tile) {
    QAbstractButton* button = nullptr;
    if (shape_ == Shape::strip) {
        button = new PanelSceneTile(theme_, QString::fromStdString(tile.name),
                                    QString::fromStdString(tile.kindCaption), tileArea_);
    } else {
        auto* grid = new TileButton(theme_, toVerbatimButtonText(tile.name),
                                    QuorvaneChipProminence::neutral, tileArea_);
        // The label grows with the text size and wraps a long name.
        grid->setAccessibleFrame(kPresetFramePadding);
        button = grid;
    }
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    connect(button, &QAbstractButton::clicked, this, [this, button] {
        if (const auto index = tiles_->indexOf(button))
            emit tileTapped(static_cast<int>(*index));
    });
    return button;
}

void PanelTileSectionView::showTile(QWidget* widget, const PanelTile& tile) {
    widget->setToolTip(QString::fromStdString(tile.helpText.value_or("")));
    const QString name = QString::fromStdString(tile.name);
    const QString caption = QString::fromStdString(tile.kindCaption);
    if (auto* strip = qobject_cast<PanelSceneTile*>(widget)) {
        strip->setTexts(name, caption);
        return;
    }
    auto* grid = static_cast<TileButton*>(widget);
    if (const QString text = toVerbatimButtonText(tile.name); grid->text() != text)
        grid->setText(text);
    grid->setDetailText(caption);
    // Read as a work-mode tile is: its name, then its kind.
    setSpokenName(grid, name + QStringLiteral(", ") + caption);
}

std::vector<QAbstractButton*> PanelTileSectionView::tiles() const {
    std::vector<QAbstractButton*> buttons;
    if (tiles_) {
        for (QWidget* tile : tiles_->rows())
            buttons.push_back(static_cast<QAbstractButton*>(tile));
    }
    return buttons;
}

PanelTileSectionView::~PanelTileSectionView() = default;

}  // namespace quorvane
