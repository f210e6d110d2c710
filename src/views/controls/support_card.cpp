#include "views/controls/support_card.hpp"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "presentation/controls/support_presentation.hpp"
#include "views/controls/support_status_label.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/themed_text.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

SupportCard::SupportCard(Theme& theme, QuorvaneDisplaySupportSummary summary,
                         std::function<void()> onOpenDiagnostics,
                         std::function<void()> onOpenHardware, QWidget* parent)
    : QWidget(parent),
      theme_(theme),
      summary_(std::move(summary)),
      onOpenDiagnostics_(std::move(onOpenDiagnostics)),
      onOpenHardware_(std::move(onOpenHardware)),
      column_(new QVBoxLayout(this)) {
    column_->setContentsMargins(0, 4, 0, 4);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    // What is built follows the theme in place; only a new summary rebuilds.
    rebuild();
}

void SupportCard::setSummary(QuorvaneDisplaySupportSummary summary) {
    if (summary == summary_)
        return;
    summary_ = std::move(summary);
    rebuild();
}

void SupportCard::rebuild() {
    if (content_) {
        content_->hide();
        content_->deleteLater();
    }
    content_ = new QWidget(this);
    auto* stack = new QVBoxLayout(content_);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(10);

    auto* statusLine = new QHBoxLayout;
    statusLine->setSpacing(10);
    auto* badge = new SupportStatusLabel(theme_, summary_.overallStatus, true, content_);
    followTheme(theme_, badge, [this, badge] {
        badge->setLabelFont(theme_.font(QuorvaneFontStyle::caption, QFont::DemiBold));
    });
    statusLine->addWidget(badge, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(themedLabel(theme_, QStringLiteral("지금 할 수 있는 조정"),
                                 QuorvaneFontStyle::subheadline, QFont::DemiBold, false, content_));
    texts->addWidget(themedLabel(theme_, QString::fromStdString(summary_.overallMessage),
                                 QuorvaneFontStyle::caption, QFont::Normal, true, content_));
    statusLine->addLayout(texts, 1);
    statusLine->addSpacing(8);
    stack->addLayout(statusLine);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    details_ = new QPushButton(QStringLiteral("자세히 보기"), content_);
    details_->setToolTip(QStringLiteral("무엇을 먼저 조정할지와 확인 순서를 봅니다."));
    connect(details_, &QPushButton::clicked, this, [this] {
        if (onOpenDiagnostics_)
            onOpenDiagnostics_();
    });
    buttons->addWidget(details_);
    hardware_ = nullptr;
    if (SupportPresentation::offersHardwareButton(summary_)) {
        hardware_ = new QPushButton(QStringLiteral("모니터 설정 열기"), content_);
        hardware_->setToolTip(QStringLiteral("확인된 모니터 조정 화면으로 이동합니다."));
        connect(hardware_, &QPushButton::clicked, this, [this] {
            if (onOpenHardware_)
                onOpenHardware_();
        });
        buttons->addWidget(hardware_);
    }
    buttons->addStretch(1);
    stack->addLayout(buttons);
    column_->addWidget(content_);
}

}  // namespace quorvane
