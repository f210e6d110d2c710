#include "views/panel/panel_recovery_card.hpp"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "presentation/design/surface_look.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

PanelRecoveryCard::PanelRecoveryCard(Theme& theme, QWidget* parent)
    : QWidget(parent), theme_(theme) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(10);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    title_ = new WrappingLabel(QStringLiteral("화면이 이상한가요?"), this);
    detail_ = new WrappingLabel(
        QStringLiteral("모든 연결된 화면을 안전 밝기와 기본 색감으로 되돌립니다."), this);
    detail_->setSecondary(true);
    texts->addWidget(title_);
    texts->addWidget(detail_);
    layout->addLayout(texts, 1);
    layout->addSpacing(8);
    button_ =
        new ChipButton(theme, QStringLiteral("전체 복구"), QuorvaneChipProminence::warning, this);
    layout->addWidget(button_, 0, Qt::AlignVCenter);
    connect(button_, &ChipButton::clicked, this, &PanelRecoveryCard::recoveryRequested);
    connect(&theme_, &Theme::changed, this, &PanelRecoveryCard::restyle);
    restyle();
}

void PanelRecoveryCard::setHelpText(const QString& text) {
    button_->setToolTip(text);
}

// The card's amber wash, on the panel's own ground.
TextGround PanelRecoveryCard::ground() const {
    return {PageGround::window,
            {{ColorRole::warning, bySchemePair(theme_.scheme(), kPanelRecoveryCardLightWash,
                                               kPanelRecoveryCardDarkWash)}}};
}

void PanelRecoveryCard::restyle() {
    title_->setFont(theme_.font(QuorvaneFontStyle::caption, QFont::DemiBold));
    detail_->setFont(theme_.font(QuorvaneFontStyle::caption2));
    detail_->setTextColor(theme_.textColor(ColorRole::secondary, ground()));
    button_->setFont(theme_.font(QuorvaneFontStyle::callout, QFont::DemiBold));
    update();
}

void PanelRecoveryCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(theme_.color(ColorRole::warning, 0.32), 1));
    painter.setBrush(theme_.color(ground().washes.front()));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
}

}  // namespace quorvane
