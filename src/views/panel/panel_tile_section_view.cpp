#include "views/panel/panel_tile_section_view.hpp"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane {

PanelTileSectionView::PanelTileSectionView(Shape shape, QWidget* parent)
    : QWidget(parent), shape_(shape) {
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

    note_ = new QLabel(this);
    note_->setWordWrap(true);
    layout->addWidget(note_);
    connect(showAll_, &QPushButton::clicked, this, &PanelTileSectionView::showAllRequested);
}

void PanelTileSectionView::setSection(const PanelTileSection& section, int columns) {
    title_->setText(QString::fromStdString(section.title));
    showAll_->setVisible(section.showAll.has_value());
    if (section.showAll) {
        showAll_->setText(QString::fromStdString(section.showAll->title));
        showAll_->setToolTip(QString::fromStdString(section.showAll->helpText));
    }
    note_->setVisible(section.note.has_value());
    note_->setText(QString::fromStdString(section.note.value_or("")));
    if (section.tiles != shown_.tiles || columns != shownColumns_)
        rebuildTiles(section, columns);
    shown_ = section;
}

void PanelTileSectionView::rebuildTiles(const PanelTileSection& section, int columns) {
    for (QPushButton* tile : tiles_) {
        tileLayout_->removeWidget(tile);
        tile->hide();
        tile->deleteLater();
    }
    tiles_.clear();
    shownColumns_ = columns;
    const int count = static_cast<int>(section.tiles.size());
    const int perRow = shape_ == Shape::strip ? std::max(count, 1) : std::max(columns, 1);
    for (int index = 0; index < count; ++index) {
        const PanelTile& tile = section.tiles[static_cast<std::size_t>(index)];
        auto* button = new QPushButton(
            QString::fromStdString(tile.name + "\n" + tile.kindCaption), tileArea_);
        button->setToolTip(QString::fromStdString(tile.helpText.value_or("")));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        connect(button, &QPushButton::clicked, this, [this, index] { emit tileTapped(index); });
        tileLayout_->addWidget(button, index / perRow, index % perRow, Qt::AlignTop);
        tiles_.push_back(button);
    }
    for (int column = 0; column < perRow; ++column)
        tileLayout_->setColumnStretch(column, 1);
}

}  // namespace quorvane
