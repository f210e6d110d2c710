#include "views/panel/panel_recovery_card.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane {

PanelRecoveryCard::PanelRecoveryCard(QWidget* parent) : QFrame(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(10);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    auto* title = new QLabel(QStringLiteral("화면이 이상한가요?"), this);
    title->setWordWrap(true);
    auto* detail =
        new QLabel(QStringLiteral("모든 연결된 화면을 안전 밝기와 기본 색감으로 되돌립니다."), this);
    detail->setWordWrap(true);
    texts->addWidget(title);
    texts->addWidget(detail);
    layout->addLayout(texts, 1);
    layout->addSpacing(8);
    button_ = new QPushButton(QStringLiteral("전체 복구"), this);
    layout->addWidget(button_);
    connect(button_, &QPushButton::clicked, this, &PanelRecoveryCard::recoveryRequested);
}

void PanelRecoveryCard::setHelpText(const QString& text) {
    button_->setToolTip(text);
}

}  // namespace quorvane
