#include "views/detail_form/reference_hero.hpp"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <optional>

#include "presentation/detail_form/reference_header.hpp"
#include "presentation/detail_form/reference_layout.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/shrinking_label.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/detail_page.hpp"
#include "views/detail_form/detail_surface_frame.hpp"

namespace quorvane {

namespace {

constexpr int kPictogramWidth = 43;
constexpr int kPictogramHeight = 32;

}  // namespace

// The preview card: its surface, and the monitor pictogram (the same for
// every display) drawn into the room its layout keeps for it. The pictogram
// is a drawing of the card, not a widget, so it is nothing to accessibility.
// Its ideal width is the layout's; the text size's bounds clamp it.
class PreviewCard : public DetailSurfaceFrame {
  public:
    PreviewCard(Theme& theme, int padding)
        : DetailSurfaceFrame(theme, DetailSurface::previewCard, padding), theme_(theme) {}

    void setPictogramRoom(QSpacerItem* room) { room_ = room; }
    void setIdealWidth(std::optional<int> width) {
        idealWidth_ = width;
        updateGeometry();
    }

    QSize sizeHint() const override {
        QSize hint = DetailSurfaceFrame::sizeHint();
        if (idealWidth_)
            hint.setWidth(*idealWidth_);
        return hint;
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        DetailSurfaceFrame::paintEvent(event);
        if (!room_)
            return;
        QPainter painter(this);
        // The row centres the pictogram on its texts, however tall they are.
        const QRect room = room_->geometry();
        const QRectF screen(room.x(), room.y() + (room.height() - kPictogramHeight) / 2.0,
                            kPictogramWidth, kPictogramHeight);
        paintDetailSurface(painter, screen, theme_, DetailSurface::pictogramScreen);
        const QRectF stand(screen.center().x() - 8.5, screen.bottom() - 5 - 2, 17, 2);
        paintDetailSurface(painter, stand, theme_, DetailSurface::pictogramStand);
    }

  private:
    Theme& theme_;
    QSpacerItem* room_ = nullptr;
    std::optional<int> idealWidth_;
};

ReferenceHero::ReferenceHero(DetailFormContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    auto* panel = new SurfacePanel(context.theme, SurfacePanel::Kind::hero, 18, 16, this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);

    auto* fit = new FitToWidth(18, 14);
    fit->setRowAlignment(Qt::AlignTop);
    fit->addWidget(makeCopy());
    fit->addStretch(18);
    fit->addWidget(makePreviewCard());
    auto* inner = new QVBoxLayout(panel);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(fit);
    followTheme(context.theme, this, [this] { arrange(); });
}

void ReferenceHero::arrange() {
    const auto layout = ReferenceLayout::forTextSize(context_.theme.textSize());
    for (int column = 0; column < ReferenceLayout{}.statusMetricColumns; ++column)
        metricGrid_->setColumnStretch(column, column < layout.statusMetricColumns ? 1 : 0);
    for (std::size_t index = 0; index < metricTiles_.size(); ++index) {
        QWidget* tile = metricTiles_[index];
        tile->setMinimumWidth(layout.statusMetricMinimumWidth);
        const int at = static_cast<int>(index);
        metricGrid_->removeWidget(tile);
        metricGrid_->addWidget(tile, at / layout.statusMetricColumns,
                               at % layout.statusMetricColumns);
    }
    // Side by side the card takes its ideal width, stacked as much of the
    // width as its maximum allows (a bounded card never grows past its ideal
    // beside the copy); at veryLarge it has no bounds and takes the width it
    // is offered.
    previewCard_->setSizePolicy(
        layout.previewCardMaximumWidth ? QSizePolicy::Maximum : QSizePolicy::Preferred,
        QSizePolicy::Preferred);
    previewCard_->setMinimumWidth(layout.previewCardMinimumWidth.value_or(0));
    previewCard_->setMaximumWidth(layout.previewCardMaximumWidth.value_or(QWIDGETSIZE_MAX));
    previewCard_->setIdealWidth(layout.previewCardIdealWidth);
}

QWidget* ReferenceHero::makeCopy() {
    Theme& theme = context_.theme;
    auto* copy = new QWidget;
    auto* column = new QVBoxLayout(copy);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(7);
    title_ = makeText(theme, QString(), QuorvaneFontStyle::title3, QFont::DemiBold);
    column->addWidget(title_);
    column->addWidget(makeText(theme, ReferenceHeader::kSubtitle, QuorvaneFontStyle::callout,
                               QFont::Normal, true));

    metricGrid_ = new QGridLayout;
    metricGrid_->setContentsMargins(0, 4, 0, 0);
    metricGrid_->setHorizontalSpacing(8);
    metricGrid_->setVerticalSpacing(8);
    for (const char* title : ReferenceHeader::kMetricTitles) {
        auto* tile = new DetailSurfaceFrame(theme, DetailSurface::metricTile,
                                            ReferenceLayout::kSurfacePadding);
        // The columns share the width evenly, however long a value is: a
        // long one takes a second line in its own column.
        tile->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        auto* tileColumn = new QVBoxLayout(tile);
        tileColumn->setContentsMargins(0, 0, 0, 0);
        tileColumn->setSpacing(4);
        tileColumn->addWidget(
            makeText(theme, title, QuorvaneFontStyle::caption2, QFont::Medium, true));
        auto* value = new WrappingLabel;
        value->setLineLimit(ReferenceLayout::kMetricValueLines,
                            ReferenceLayout::kMetricValueMinimumScale);
        followTheme(theme, value, [value, &theme] {
            value->setFont(monospaced(theme.font(QuorvaneFontStyle::caption, QFont::DemiBold)));
        });
        tileColumn->addWidget(value);
        metricValues_.push_back(value);
        metricTiles_.push_back(tile);
    }
    column->addLayout(metricGrid_);
    return copy;
}

QWidget* ReferenceHero::makePreviewCard() {
    Theme& theme = context_.theme;
    auto* card = new PreviewCard(theme, ReferenceLayout::kSurfacePadding);
    previewCard_ = card;
    card->setObjectName(QStringLiteral("previewCard"));
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(9);

    auto* identity = new QHBoxLayout;
    identity->setSpacing(9);
    auto* pictogram =
        new QSpacerItem(kPictogramWidth, kPictogramHeight, QSizePolicy::Fixed, QSizePolicy::Fixed);
    identity->addSpacerItem(pictogram);
    // A box layout keeps no spacing beside a spacer item.
    identity->addSpacing(identity->spacing());
    card->setPictogramRoom(pictogram);
    auto* names = new QVBoxLayout;
    names->setSpacing(3);
    // Long names and mode labels take two lines, then shrink a little, and
    // only then lose their ends.
    previewName_ = makeText(theme, QString(), QuorvaneFontStyle::caption, QFont::DemiBold);
    previewDetail_ = makeText(theme, QString(), QuorvaneFontStyle::caption2, QFont::Normal, true);
    for (auto* text : {previewName_, previewDetail_})
        text->setLineLimit(ReferenceLayout::kPreviewTextLines,
                           ReferenceLayout::kPreviewTextMinimumScale);
    names->addWidget(previewName_);
    names->addWidget(previewDetail_);
    identity->addLayout(names, 1);
    column->addLayout(identity);

    auto* chips = new QHBoxLayout;
    chips->setSpacing(6);
    for (const char* title : ReferenceHeader::kChipTitles) {
        auto* chip = new DetailSurfaceFrame(theme, DetailSurface::statusChip);
        auto* chipColumn = new QVBoxLayout(chip);
        chipColumn->setContentsMargins(7, 5, 7, 5);
        chipColumn->setSpacing(2);
        auto* chipTitle = new ShrinkingLabel(title, 1.0);
        auto* value = new ShrinkingLabel(QString(), 0.78);
        followTheme(theme, chip, [chipTitle, value, &theme] {
            chipTitle->setFont(theme.font(QuorvaneFontStyle::caption2, QFont::Medium));
            chipTitle->setTextColor(theme.color(ColorRole::secondary));
            value->setFont(monospaced(theme.font(QuorvaneFontStyle::caption2, QFont::DemiBold)));
        });
        chipColumn->addWidget(chipTitle);
        chipColumn->addWidget(value);
        chipValues_.push_back(value);
        chips->addWidget(chip, 1);
    }
    column->addLayout(chips);
    return card;
}

void ReferenceHero::refresh(const DisplaySnapshot& display) {
    const auto header = ReferenceHeader::make(context_.store, display);
    title_->setText(qText(header.title));
    for (std::size_t i = 0; i < metricValues_.size() && i < header.metrics.size(); ++i)
        metricValues_[i]->setText(qText(header.metrics[i].value));
    previewName_->setText(qText(header.previewName));
    previewDetail_->setText(qText(header.previewDetail));
    for (std::size_t i = 0; i < chipValues_.size() && i < header.previewChips.size(); ++i)
        chipValues_[i]->setText(qText(header.previewChips[i].value));
}

}  // namespace quorvane
