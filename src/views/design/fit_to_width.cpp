#include "views/design/fit_to_width.hpp"

#include <QSpacerItem>
#include <QWidgetItem>
#include <algorithm>

#include "presentation/design/baseline_alignment.hpp"
#include "views/design/text_baseline.hpp"

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

void FitLayout::setEqualGrowth(bool equal) {
    equalGrowth_ = equal;
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

FitLayout::RowPlan FitLayout::planRow(int width, int idealWidth) const {
    const auto grows = [](const Entry& entry) {
        return entry.stretch || entry.item->expandingDirections() & Qt::Horizontal;
    };
    RowPlan plan;
    int growers = 0;
    int growersWidth = 0;
    for (const auto& entry : entries_) {
        const bool hidden = entry.item->isEmpty() && !entry.stretch;
        plan.widths.push_back(hidden          ? -1
                              : entry.stretch ? entry.item->minimumSize().width()
                                              : entry.item->sizeHint().width());
        if (!hidden && grows(entry)) {
            ++growers;
            growersWidth += std::max(0, plan.widths.back());
        }
    }
    plan.spare = std::max(0, width - idealWidth);
    plan.growers = growers;
    // Equal growth: the growers' ideal widths and the spare pooled, then
    // dealt out evenly (the last takes what the division leaves).
    const int pooled = plan.spare + growersWidth;
    int dealt = 0;
    plan.heights.assign(entries_.size(), 0);
    plan.tops.assign(entries_.size(), 0);
    std::vector<BaselineItem> line;
    std::vector<std::size_t> placed;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const auto& entry = entries_[i];
        if (plan.widths[i] < 0)
            continue;
        // Shown, so counted among the growers (growers > 0).
        if (grows(entry)) {
            const int share = pooled / growers;
            if (equalGrowth_)
                plan.widths[i] = ++dealt == growers ? pooled - share * (growers - 1) : share;
            else
                plan.widths[i] += plan.spare / growers;
        }
        if (entry.stretch)
            continue;
        plan.heights[i] = itemHeight(entry.item, plan.widths[i]);
        plan.height = std::max(plan.height, plan.heights[i]);
        line.push_back({plan.heights[i], firstTextBaseline(entry.item, plan.widths[i])});
        placed.push_back(i);
    }
    if (rowAlignment_ & Qt::AlignBaseline) {
        const BaselineLine aligned = alignOnFirstBaseline(line);
        for (std::size_t k = 0; k < placed.size(); ++k)
            plan.tops[placed[k]] = aligned.tops[k];
        plan.height = aligned.height;
        plan.baseline = placed.empty() ? std::nullopt : std::optional<int>(aligned.baseline);
        return plan;
    }
    for (std::size_t k = 0; k < placed.size(); ++k) {
        const std::size_t i = placed[k];
        const int itemH = std::min(plan.height, plan.heights[i]);
        plan.tops[i] = rowAlignment_ & Qt::AlignTop ? 0 : (plan.height - itemH) / 2;
        if (!plan.baseline && line[k].baseline)
            plan.baseline = plan.tops[i] + *line[k].baseline;
    }
    return plan;
}

int FitLayout::layoutRow(const QRect& rect, int idealWidth, bool apply) const {
    const RowPlan plan = planRow(rect.width(), idealWidth);
    if (!apply)
        return plan.height;
    int x = rect.x();
    if (plan.growers == 0 && (horizontalAlignment_ & Qt::AlignHCenter))
        x += plan.spare / 2;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const auto& entry = entries_[i];
        if (plan.widths[i] < 0)
            continue;
        const int itemH = entry.stretch ? 0 : std::min(plan.height, plan.heights[i]);
        entry.item->setGeometry(QRect(x, rect.y() + plan.tops[i], plan.widths[i], itemH));
        x += plan.widths[i] + horizontalSpacing_;
    }
    return plan.height;
}

std::optional<int> FitLayout::firstBaseline(int width) const {
    const QMargins margins = contentsMargins();
    const int inner = width - margins.left() - margins.right();
    const int ideal = idealRowWidth();
    if (chooseArrangement(ideal, inner) == FitArrangement::horizontal) {
        const auto baseline = planRow(inner, ideal).baseline;
        return baseline ? std::optional<int>(margins.top() + *baseline) : std::nullopt;
    }
    // Stacked: the first line's first item with text (a shared line's
    // items are centred on each other unless they hang from the top).
    for (const auto& entry : entries_) {
        if (entry.stretch || entry.item->isEmpty())
            continue;
        const int itemWidth = std::min(entry.item->sizeHint().width(), inner);
        const auto baseline = firstTextBaseline(entry.item, itemWidth);
        return baseline ? std::optional<int>(margins.top() + *baseline) : std::nullopt;
    }
    return std::nullopt;
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

void FitToWidth::setEqualGrowth(bool equal) {
    static_cast<FitLayout*>(layout())->setEqualGrowth(equal);
}

FitArrangement FitToWidth::arrangement() const {
    return static_cast<const FitLayout*>(layout())->arrangement();
}

FitArrangement FitToWidth::arrangementFor(int width) const {
    return static_cast<const FitLayout*>(layout())->arrangementFor(width);
}

}  // namespace quorvane
