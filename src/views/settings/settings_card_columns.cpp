#include "views/settings/settings_card_columns.hpp"

#include <QHBoxLayout>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace quorvane {

SettingsCardColumns::SettingsCardColumns(std::vector<QWidget*> cards,
                                         std::function<Arrangement(int)> arrange, int columnSpacing,
                                         int cardSpacing, QWidget* parent)
    : QWidget(parent),
      cards_(std::move(cards)),
      arrange_(std::move(arrange)),
      columnSpacing_(columnSpacing),
      cardSpacing_(cardSpacing) {
    for (auto* card : cards_)
        card->setParent(this);
    row_ = new QHBoxLayout(this);
    row_->setContentsMargins(0, 0, 0, 0);
    row_->setSpacing(columnSpacing_);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    apply(arrange_(0));
}

void SettingsCardColumns::reflow() {
    const auto wanted = arrange_(width());
    if (wanted != current_)
        apply(wanted);
}

void SettingsCardColumns::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    reflow();
}

void SettingsCardColumns::apply(const Arrangement& arrangement) {
    current_ = arrangement;
    while (auto* item = row_->takeAt(0)) {
        if (auto* column = item->layout()) {
            while (auto* inner = column->takeAt(0))
                delete inner;
        }
        delete item;
    }
    for (const auto& indices : arrangement) {
        auto* column = new QVBoxLayout;
        column->setSpacing(cardSpacing_);
        for (int index : indices)
            column->addWidget(cards_.at(static_cast<std::size_t>(index)));
        column->addStretch(1);
        row_->addLayout(column, 1);
    }
    updateGeometry();
}

int SettingsCardColumns::heightForWidth(int width) const {
    const auto arrangement = arrange_(width);
    const int columns = std::max<int>(1, static_cast<int>(arrangement.size()));
    const int columnWidth = (width - columnSpacing_ * (columns - 1)) / columns;
    int tallest = 0;
    for (const auto& indices : arrangement) {
        int height = 0;
        for (int index : indices) {
            const auto* card = cards_.at(static_cast<std::size_t>(index));
            const int cardHeight = card->hasHeightForWidth() ? card->heightForWidth(columnWidth)
                                                             : card->sizeHint().height();
            height += cardHeight + (height > 0 ? cardSpacing_ : 0);
        }
        tallest = std::max(tallest, height);
    }
    return tallest;
}

QSize SettingsCardColumns::sizeHint() const {
    const int width = std::max(320, this->width());
    return {width, heightForWidth(width)};
}

QSize SettingsCardColumns::minimumSizeHint() const {
    return {200, 0};
}

}  // namespace quorvane
