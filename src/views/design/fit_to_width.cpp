#include "views/design/fit_to_width.hpp"

#include <QSpacerItem>
#include <QWidgetItem>
#include <algorithm>

namespace quorvane {

FitLayout::FitLayout(QWidget* parent) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
}

FitLayout::~FitLayout() {
    for (auto& entry : entries_)
        delete entry.item;
}

void FitLayout::addItem(QLayoutItem* item) {
    addItemOnLine(item, -1);
}

void FitLayout::addItemOnLine(QLayoutItem* item, int line) {
    entries_.push_back({item, line, false});
    invalidate();
}

void FitLayout::addWidgetOnLine(QWidget* widget, int line) {
    addChildWidget(widget);
    addItemOnLine(new QWidgetItem(widget), line);
}

void FitLayout::addStretchItem(int minimumLength, int line) {
    entries_.push_back(
        {new QSpacerItem(minimumLength, 0, QSizePolicy::MinimumExpanding, QSizePolicy::Minimum),
         line, true});
    invalidate();
}

void FitLayout::setSpacings(int horizontal, int vertical) {
    horizontalSpacing_ = horizontal;
    verticalSpacing_ = vertical;
    invalidate();
}

void FitLayout::setSharedLineLook(int spacing, Qt::Alignment alignment) {
    sharedLineSpacing_ = spacing;
    sharedLineAlignment_ = alignment;
    invalidate();
}

void FitLayout::setHorizontalAlignment(Qt::Alignment alignment) {
    horizontalAlignment_ = alignment;
    invalidate();
}

void FitLayout::setArrangementListener(std::function<void(FitArrangement)> listener) {
    listener_ = std::move(listener);
}

QLayoutItem* FitLayout::itemAt(int index) const {
    if (index < 0 || index >= count())
        return nullptr;
    return entries_[static_cast<std::size_t>(index)].item;
}

QLayoutItem* FitLayout::takeAt(int index) {
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = entries_[static_cast<std::size_t>(index)].item;
    entries_.erase(entries_.begin() + index);
    invalidate();
    return item;
}

int FitLayout::idealRowWidth() const {
    int width = 0;
    int visible = 0;
    for (const auto& entry : entries_) {
        if (entry.item->isEmpty() && !entry.stretch)
            continue;
        width += entry.stretch ? entry.item->minimumSize().width() : entry.item->sizeHint().width();
        ++visible;
    }
    return width + std::max(0, visible - 1) * horizontalSpacing_;
}

FitArrangement FitLayout::arrangementFor(int width) const {
    const QMargins margins = contentsMargins();
    return chooseArrangement(idealRowWidth(), width - margins.left() - margins.right());
}

int FitLayout::itemHeight(QLayoutItem* item, int width) const {
    if (item->hasHeightForWidth())
        return item->heightForWidth(width);
    return item->sizeHint().height();
}

QSize FitLayout::sizeHint() const {
    const QMargins margins = contentsMargins();
    const int width = idealRowWidth() + margins.left() + margins.right();
    return {width, heightForWidth(width)};
}

QSize FitLayout::minimumSize() const {
    int width = 0;
    for (const auto& entry : entries_) {
        if (!entry.stretch && !entry.item->isEmpty())
            width = std::max(width, entry.item->minimumSize().width());
    }
    const QMargins margins = contentsMargins();
    width += margins.left() + margins.right();
    return {width, 0};
}

// Not cached: nested labels change their hints (fonts, texts) before this
// layout hears of it, and a stale height would clip the row.
int FitLayout::heightForWidth(int width) const {
    return doLayout(QRect(0, 0, width, 0), false);
}

void FitLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const FitArrangement chosen = arrangementFor(rect.width());
    const bool changed = chosen != current_;
    current_ = chosen;
    doLayout(rect, true);
    if (changed && listener_)
        listener_(chosen);
}

int FitLayout::doLayout(const QRect& rect, bool apply) const {
    const QRect inner = rect.marginsRemoved(contentsMargins());
    const int ideal = idealRowWidth();
    const int height = chooseArrangement(ideal, inner.width()) == FitArrangement::horizontal
                           ? layoutRow(inner, ideal, apply)
                           : layoutStacked(inner, apply);
    const QMargins margins = contentsMargins();
    return height + margins.top() + margins.bottom();
}

int FitLayout::layoutRow(const QRect& rect, int idealWidth, bool apply) const {
    std::vector<int> widths;
    int growers = 0;
    for (const auto& entry : entries_) {
        const bool hidden = entry.item->isEmpty() && !entry.stretch;
        widths.push_back(hidden          ? -1
                         : entry.stretch ? entry.item->minimumSize().width()
                                         : entry.item->sizeHint().width());
        if (!hidden && (entry.stretch || entry.item->expandingDirections() & Qt::Horizontal))
            ++growers;
    }
    const int spare = std::max(0, rect.width() - idealWidth);
    std::vector<int> heights(entries_.size(), 0);
    int height = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const auto& entry = entries_[i];
        if (widths[i] < 0)
            continue;
        if (growers > 0 && (entry.stretch || entry.item->expandingDirections() & Qt::Horizontal))
            widths[i] += spare / growers;
        if (!entry.stretch) {
            heights[i] = itemHeight(entry.item, widths[i]);
            height = std::max(height, heights[i]);
        }
    }
    if (!apply)
        return height;
    int x = rect.x();
    if (growers == 0 && (horizontalAlignment_ & Qt::AlignHCenter))
        x += spare / 2;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const auto& entry = entries_[i];
        if (widths[i] < 0)
            continue;
        const int itemH = std::min(height, heights[i]);
        const int y = rowAlignment_ & Qt::AlignTop ? rect.y() : rect.y() + (height - itemH) / 2;
        entry.item->setGeometry(QRect(x, y, widths[i], itemH));
        x += widths[i] + horizontalSpacing_;
    }
    return height;
}

int FitLayout::layoutStacked(const QRect& rect, bool apply) const {
    int y = rect.y();
    bool firstLine = true;
    std::size_t i = 0;
    while (i < entries_.size()) {
        // One stacked line: a run of items sharing a line number, or one item.
        std::size_t end = i + 1;
        if (entries_[i].line >= 0) {
            while (end < entries_.size() && entries_[end].line == entries_[i].line)
                ++end;
        }
        struct Placed {
            QLayoutItem* item;
            int width;
            int height;
        };
        std::vector<Placed> items;
        for (std::size_t k = i; k < end; ++k) {
            if (!entries_[k].stretch && !entries_[k].item->isEmpty())
                items.push_back({entries_[k].item, 0, 0});
        }
        i = end;
        if (items.empty())
            continue;
        const int spacing = sharedLineSpacing_ >= 0 ? sharedLineSpacing_ : horizontalSpacing_;
        int left = rect.width() - static_cast<int>(items.size() - 1) * spacing;
        int lineHeight = 0;
        for (std::size_t k = 0; k < items.size(); ++k) {
            QLayoutItem* item = items[k].item;
            const bool last = k + 1 == items.size();
            const bool fills =
                item->hasHeightForWidth() || (item->expandingDirections() & Qt::Horizontal);
            int width = std::min(item->sizeHint().width(), left);
            if (last && fills)
                width = left;
            width = std::max(std::min(width, item->maximumSize().width()), 0);
            items[k].width = width;
            items[k].height = itemHeight(item, width);
            lineHeight = std::max(lineHeight, items[k].height);
            left -= width;
        }
        if (!firstLine)
            y += verticalSpacing_;
        firstLine = false;
        if (apply) {
            int x = rect.x();
            if (horizontalAlignment_ & Qt::AlignHCenter) {
                int lineWidth = static_cast<int>(items.size() - 1) * spacing;
                for (const auto& placed : items)
                    lineWidth += placed.width;
                x += std::max(0, (rect.width() - lineWidth) / 2);
            }
            for (const auto& placed : items) {
                const int h = std::min(lineHeight, placed.height);
                const bool centred = items.size() > 1 && !(sharedLineAlignment_ & Qt::AlignTop);
                const int top = centred ? y + (lineHeight - h) / 2 : y;
                placed.item->setGeometry(QRect(x, top, placed.width, h));
                x += placed.width + spacing;
            }
        }
        y += lineHeight;
    }
    return y - rect.y();
}

FitToWidth::FitToWidth(int horizontalSpacing, int verticalSpacing, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new FitLayout(this);
    layout->setSpacings(horizontalSpacing, verticalSpacing);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    layout->setArrangementListener(
        [this](FitArrangement arrangement) { emit arrangementChanged(arrangement); });
}

void FitToWidth::addWidget(QWidget* widget, int line) {
    static_cast<FitLayout*>(layout())->addWidgetOnLine(widget, line);
}

void FitToWidth::addStretch(int minimumLength, int line) {
    static_cast<FitLayout*>(layout())->addStretchItem(minimumLength, line);
}

void FitToWidth::setRowAlignment(Qt::Alignment alignment) {
    static_cast<FitLayout*>(layout())->setRowAlignment(alignment);
    layout()->invalidate();
}

void FitToWidth::setSpacing(int horizontal, int vertical) {
    static_cast<FitLayout*>(layout())->setSpacings(horizontal, vertical);
}

void FitToWidth::setSharedLineLook(int spacing, Qt::Alignment alignment) {
    static_cast<FitLayout*>(layout())->setSharedLineLook(spacing, alignment);
}

void FitToWidth::setHorizontalAlignment(Qt::Alignment alignment) {
    static_cast<FitLayout*>(layout())->setHorizontalAlignment(alignment);
}

FitArrangement FitToWidth::arrangement() const {
    return static_cast<const FitLayout*>(layout())->arrangement();
}

FitArrangement FitToWidth::arrangementFor(int width) const {
    return static_cast<const FitLayout*>(layout())->arrangementFor(width);
}

}  // namespace quorvane
