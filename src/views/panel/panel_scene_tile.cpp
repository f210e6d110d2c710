#include "views/panel/panel_scene_tile.hpp"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "presentation/design/button_look.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/shrinking_label.hpp"
#include "views/design/theme.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

constexpr double kMinimumNameScale = 0.8;
// The label's least height, inside the tile's padding.
constexpr int kMinimumLabelHeight = 30;

}  // namespace

PanelSceneTile::PanelSceneTile(Theme& theme, const QString& name, const QString& kindCaption,
                               QWidget* parent)
    : QAbstractButton(parent), theme_(theme) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 5, 8, 5);
    layout->setSpacing(1);
    name_ = new ShrinkingLabel(QString(), kMinimumNameScale, this);
    name_->setAlignment(Qt::AlignCenter);
    caption_ = new QLabel(this);
    caption_->setAlignment(Qt::AlignCenter);
    for (QWidget* label : std::initializer_list<QWidget*>{name_, caption_}) {
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        layout->addWidget(label);
    }
    setTexts(name, kindCaption);
    connect(&theme_, &Theme::changed, this, &PanelSceneTile::restyle);
    restyle();
}

void PanelSceneTile::setTexts(const QString& name, const QString& kindCaption) {
    if (name_->text() == name && caption_->text() == kindCaption)
        return;
    // The name shows verbatim in the label; as the button's text it must
    // not become a mnemonic.
    setText(toVerbatimButtonText(name.toStdString()));
    name_->setText(name);
    caption_->setText(kindCaption);
    setSpokenName(this, name + QStringLiteral(", ") + kindCaption);
    updateGeometry();
}

void PanelSceneTile::restyle() {
    name_->setFont(theme_.font(QuorvaneFontStyle::callout, QFont::DemiBold));
    name_->setTextColor(theme_.color(ColorRole::primary));
    caption_->setFont(theme_.font(QuorvaneFontStyle::caption2));
    QPalette palette = caption_->palette();
    palette.setColor(QPalette::WindowText, theme_.color(ColorRole::secondary));
    caption_->setPalette(palette);
    updateGeometry();
    update();
}

QSize PanelSceneTile::sizeHint() const {
    const QSize content = layout()->sizeHint();
    const QMargins padding = layout()->contentsMargins();
    const int label = content.height() - padding.top() - padding.bottom();
    return {content.width(),
            std::max(kMinimumLabelHeight, label) + padding.top() + padding.bottom()};
}

QSize PanelSceneTile::minimumSizeHint() const {
    // The name shrinks and then elides, so the tile may get narrow.
    return {kMinimumLabelHeight, sizeHint().height()};
}

void PanelSceneTile::paintEvent(QPaintEvent*) {
    const ButtonLook look = buttonLook(ButtonShape::tile, QuorvaneChipProminence::neutral,
                                       theme_.scheme(), isDown(), isEnabled());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(look.opacity);
    painter.setPen(QPen(theme_.color(look.border), 1));
    painter.setBrush(theme_.color(look.fill));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
    if (hasFocus()) {
        painter.setPen(QPen(theme_.color(ColorRole::accent, 0.9), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 8, 8);
    }
}

}  // namespace quorvane
