#include "views/panel/panel_no_display_view.hpp"

#include <QLabel>
#include <QVBoxLayout>

#include "views/design/chip_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

namespace {

constexpr int kLeastHeight = 220;

}  // namespace

PanelNoDisplayView::PanelNoDisplayView(Theme& theme, QWidget* parent)
    : QWidget(parent), theme_(theme) {
    setMinimumHeight(kLeastHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addStretch(1);
    icon_ = new SymbolImage("display.trianglebadge.exclamationmark", this);
    title_ = new QLabel(QStringLiteral("디스플레이 없음"), this);
    title_->setAlignment(Qt::AlignCenter);
    description_ = new WrappingLabel(
        QStringLiteral("활성 모니터를 찾지 못했습니다. 케이블을 확인한 뒤 다시 검색하세요."), this);
    description_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    description_->setSecondary(true);
    layout->addWidget(icon_, 0, Qt::AlignHCenter);
    layout->addWidget(title_);
    layout->addWidget(description_);

    auto* buttons = new FitToWidth(8, 8, this);
    buttons->setHorizontalAlignment(Qt::AlignHCenter);
    rescan_ =
        new ChipButton(theme, QStringLiteral("다시 검색"), QuorvaneChipProminence::accent, buttons);
    rescan_->setSymbol("arrow.clockwise");
    rescan_->setToolTip(QStringLiteral("연결된 디스플레이 목록과 현재 값을 다시 읽습니다."));
    why_ = new ChipButton(theme, QStringLiteral("안 되는 이유 보기"),
                          QuorvaneChipProminence::neutral, buttons);
    why_->setSymbol("info.circle");
    why_->setToolTip(QStringLiteral("큰 창에서 안 되는 이유와 다음 확인 순서를 봅니다."));
    buttons->addWidget(rescan_);
    buttons->addWidget(why_);
    layout->addWidget(buttons);
    layout->addStretch(1);
    connect(rescan_, &ChipButton::clicked, this, &PanelNoDisplayView::rescanRequested);
    connect(why_, &ChipButton::clicked, this, &PanelNoDisplayView::mainWindowRequested);
    connect(&theme_, &Theme::changed, this, &PanelNoDisplayView::restyle);
    restyle();
}

void PanelNoDisplayView::restyle() {
    icon_->setFixedSide(static_cast<int>(36 * theme_.scale()));
    icon_->setColor(theme_.color(ColorRole::secondary));
    title_->setFont(theme_.font(QuorvaneFontStyle::title3, QFont::DemiBold));
    description_->setFont(theme_.font(QuorvaneFontStyle::callout));
}

}  // namespace quorvane
