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
    // Built once; a new summary changes it in place, so a button the user
    // pressed keeps the focus.
    build();
    showSummary();
}

void SupportCard::setSummary(QuorvaneDisplaySupportSummary summary) {
    if (summary == summary_)
        return;
    summary_ = std::move(summary);
    showSummary();
}

void SupportCard::build() {
    column_->setSpacing(0);
    auto* statusLine = new QHBoxLayout;
    statusLine->setSpacing(10);
    badge_ = new SupportStatusLabel(theme_, summary_.overallStatus, true, this);
    followTheme(theme_, badge_, [this] {
        badge_->setLabelFont(theme_.font(QuorvaneFontStyle::caption, QFont::DemiBold));
    });
    statusLine->addWidget(badge_, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(themedLabel(theme_, QStringLiteral("지금 할 수 있는 조정"),
                                 QuorvaneFontStyle::subheadline, QFont::DemiBold, false, this));
    message_ =
        themedLabel(theme_, QString(), QuorvaneFontStyle::caption, QFont::Normal, true, this);
    texts->addWidget(message_);
    statusLine->addLayout(texts, 1);
    statusLine->addSpacing(8);
    column_->addLayout(statusLine);
    column_->addSpacing(10);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    details_ = new QPushButton(QStringLiteral("자세히 보기"), this);
    details_->setToolTip(QStringLiteral("무엇을 먼저 조정할지와 확인 순서를 봅니다."));
    connect(details_, &QPushButton::clicked, this, [this] {
        if (onOpenDiagnostics_)
            onOpenDiagnostics_();
    });
    buttons->addWidget(details_);
    hardware_ = new QPushButton(QStringLiteral("모니터 설정 열기"), this);
    hardware_->setToolTip(QStringLiteral("확인된 모니터 조정 화면으로 이동합니다."));
    connect(hardware_, &QPushButton::clicked, this, [this] {
        if (onOpenHardware_)
            onOpenHardware_();
    });
    buttons->addWidget(hardware_);
    buttons->addStretch(1);
    column_->addLayout(buttons);
}

void SupportCard::showSummary() {
    badge_->setStatus(summary_.overallStatus);
    if (const QString message = QString::fromStdString(summary_.overallMessage);
        message_->text() != message)
        message_->setText(message);
    hardware_->setVisible(SupportPresentation::offersHardwareButton(summary_));
}

QPushButton* SupportCard::hardwareButton() const {
    return hardware_->isHidden() ? nullptr : hardware_;
}

}  // namespace quorvane
