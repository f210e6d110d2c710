#include "views/design/shared_row_layout.hpp"

#include <QWidget>
#include <algorithm>

#include "presentation/design/shared_row.hpp"

namespace quorvane {

namespace {

int heightAt(QLayoutItem* item, int width) {
    return item->hasHeightForWidth() ? item->heightForWidth(width) : item->sizeHint().height();
}

}  // namespace

SharedRowLayout::SharedRowLayout(int spacing, QWidget* parent) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(spacing);
}

SharedRowLayout::~SharedRowLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void SharedRowLayout::addItem(QLayoutItem* item) {
    items_.push_back(item);
    invalidate();
}

QLayoutItem* SharedRowLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? items_[static_cast<std::size_t>(index)] : nullptr;
}

QLayoutItem* SharedRowLayout::takeAt(int index) {
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = items_[static_cast<std::size_t>(index)];
    items_.erase(items_.begin() + index);
    invalidate();
    return item;
}

std::vector<QLayoutItem*> SharedRowLayout::shown() const {
    std::vector<QLayoutItem*> result;
    for (QLayoutItem* item : items_)
        if (!item->isEmpty() && result.size() < 2)
            result.push_back(item);
    return result;
}

QSize SharedRowLayout::sizeHint() const {
    QSize size;
    const auto items = shown();
    for (QLayoutItem* item : items) {
        const QSize hint = item->sizeHint();
        size.rwidth() += hint.width();
        size.setHeight(std::max(size.height(), hint.height()));
    }
    if (items.size() > 1)
        size.rwidth() += spacing();
    return size;
}

QSize SharedRowLayout::minimumSize() const {
    // Each is laid out at least half the line wide, so the line is twice the
    // wider of their least widths.
    int least = 0;
    const auto items = shown();
    for (QLayoutItem* item : items)
        least = std::max(least, item->minimumSize().width());
    const int width = items.size() > 1 ? 2 * least + spacing() : least;
    return {width, heightForWidth(width)};
}

int SharedRowLayout::heightForWidth(int width) const {
    return place(QRect(0, 0, width, 0), false);
}

void SharedRowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    place(rect, true);
}

int SharedRowLayout::place(const QRect& rect, bool apply) const {
    const auto items = shown();
    if (items.empty())
        return 0;
    std::vector<int> widths;
    if (items.size() == 1) {
        widths = {std::min(items[0]->sizeHint().width(), rect.width())};
    } else {
        const SharedRowWidths shared = shareRow(
            rect.width(), spacing(), items[0]->sizeHint().width(), items[1]->sizeHint().width());
        widths = {shared.first, shared.second};
    }
    std::vector<int> heights;
    int line = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        heights.push_back(heightAt(items[i], widths[i]));
        line = std::max(line, heights.back());
    }
    if (!apply)
        return line;
    int x = rect.x();
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i]->setGeometry(QRect(x, rect.y() + (line - heights[i]) / 2, widths[i], heights[i]));
        x += widths[i] + spacing();
    }
    return line;
}

}  // namespace quorvane
