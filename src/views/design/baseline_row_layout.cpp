#include "views/design/baseline_row_layout.hpp"

#include <QWidget>
#include <algorithm>
#include <vector>

#include "presentation/design/baseline_alignment.hpp"
#include "views/design/text_baseline.hpp"

namespace quorvane {

namespace {

struct Shown {
    QLayoutItem* item;
    QRect box;
};

std::vector<Shown> shownItems(const QLayout& layout, bool atHints) {
    std::vector<Shown> shown;
    for (int i = 0; i < layout.count(); ++i) {
        QLayoutItem* item = layout.itemAt(i);
        if (!item || item->isEmpty() || !item->widget())
            continue;
        QRect box = item->geometry();
        if (atHints) {
            const QSize hint = item->sizeHint();
            box = QRect(
                0, 0, hint.width(),
                item->hasHeightForWidth() ? item->heightForWidth(hint.width()) : hint.height());
        }
        shown.push_back({item, box});
    }
    return shown;
}

BaselineLine lineOf(const std::vector<Shown>& shown) {
    std::vector<BaselineItem> items;
    items.reserve(shown.size());
    for (const auto& entry : shown)
        items.push_back({entry.box.height(), firstTextBaseline(entry.item, entry.box.width())});
    return alignOnFirstBaseline(items);
}

}  // namespace

void BaselineRowLayout::setGeometry(const QRect& rect) {
    QHBoxLayout::setGeometry(rect);
    const auto shown = shownItems(*this, false);
    const BaselineLine line = lineOf(shown);
    const int top = rect.top() + contentsMargins().top();
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const QRect box = shown[i].box;
        shown[i].item->setGeometry(QRect(box.x(), top + line.tops[i], box.width(), box.height()));
    }
}

int BaselineRowLayout::extraHeight() const {
    const auto shown = shownItems(*this, true);
    int tallest = 0;
    for (const auto& entry : shown)
        tallest = std::max(tallest, entry.box.height());
    return std::max(0, lineOf(shown).height - tallest);
}

int BaselineRowLayout::heightForWidth(int width) const {
    const int height = QHBoxLayout::heightForWidth(width);
    return height < 0 ? height : height + extraHeight();
}

QSize BaselineRowLayout::sizeHint() const {
    return QHBoxLayout::sizeHint() + QSize(0, extraHeight());
}

QSize BaselineRowLayout::minimumSize() const {
    return QHBoxLayout::minimumSize() + QSize(0, extraHeight());
}

}  // namespace quorvane
