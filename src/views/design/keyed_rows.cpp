#include "views/design/keyed_rows.hpp"

#include <QBoxLayout>
#include <QWidget>
#include <map>

#include "views/access/reading_order.hpp"
#include "views/design/scroll_anchor.hpp"

namespace quorvane {

namespace {

// The n-th repeat of a key stands for an entry of its own.
std::vector<std::string> uniqueKeys(const std::vector<std::string>& keys) {
    std::vector<std::string> unique;
    unique.reserve(keys.size());
    std::map<std::string, int> seen;
    for (const auto& key : keys) {
        const int repeat = seen[key]++;
        unique.push_back(repeat == 0 ? key : key + '\x1f' + std::to_string(repeat));
    }
    return unique;
}

bool holds(const QWidget* row, const QWidget* focus) {
    return row && focus && (row == focus || row->isAncestorOf(focus));
}

bool focusFirstControlOf(QWidget* row) {
    QWidget* control = row ? firstTabStop(row) : nullptr;
    if (!control)
        return false;
    control->setFocus(Qt::OtherFocusReason);
    return true;
}

}  // namespace

KeyedRows::KeyedRows(QBoxLayout* layout, int first) : layout_(layout), first_(first) {}

KeyedRows::KeyedRows(Place place) : place_(std::move(place)) {}

void KeyedRows::show(const std::vector<std::string>& keys, const Make& make, const Update& update) {
    const auto unique = uniqueKeys(keys);
    std::vector<Row> old = std::move(rows_);
    rows_.clear();
    std::vector<bool> stays(old.size(), false);
    QWidget* made = nullptr;
    for (std::size_t index = 0; index < unique.size(); ++index) {
        std::size_t found = 0;
        while (found < old.size() &&
               (stays[found] || !old[found].widget || old[found].key != unique[index]))
            ++found;
        if (found < old.size()) {
            stays[found] = true;
            update(old[found].widget, index);
            rows_.push_back(old[found]);
        } else {
            made = make(index);
            rows_.push_back({unique[index], made});
        }
    }
    keepFocusOutOf(old, stays);
    for (std::size_t index = 0; index < old.size(); ++index) {
        QWidget* gone = old[index].widget;
        if (stays[index] || !gone)
            continue;
        if (layout_)
            layout_->removeWidget(gone);
        // Later: the click that led here may still be running inside it.
        gone->hide();
        gone->deleteLater();
    }
    const auto shown = this->rows();
    if (place_)
        place_(shown);
    else
        placeInLayout(shown);
    if (made)
        focusNewRow(made);
}

std::vector<std::string> KeyedRows::placeKeys(std::size_t count) {
    std::vector<std::string> keys;
    for (std::size_t index = 0; index < count; ++index)
        keys.push_back(std::to_string(index));
    return keys;
}

std::vector<QWidget*> KeyedRows::rows() const {
    std::vector<QWidget*> shown;
    shown.reserve(rows_.size());
    for (const auto& row : rows_)
        shown.push_back(row.widget);
    return shown;
}

std::optional<std::size_t> KeyedRows::indexOf(const QWidget* row) const {
    for (std::size_t index = 0; index < rows_.size(); ++index) {
        if (rows_[index].widget == row)
            return index;
    }
    return std::nullopt;
}

void KeyedRows::placeInLayout(const std::vector<QWidget*>& rows) {
    for (std::size_t index = 0; index < rows.size(); ++index) {
        QWidget* row = rows[index];
        const int wanted = first_ + static_cast<int>(index);
        const int at = layout_->indexOf(row);
        if (at == wanted)
            continue;
        // Taken out and put back without hiding: a control inside keeps
        // the focus.
        if (at >= 0)
            layout_->removeWidget(row);
        layout_->insertWidget(wanted, row);
    }
}

// Before a row holding the focus goes (hidden, Qt would hand the focus on
// to the next control of the window, wherever that is).
void KeyedRows::keepFocusOutOf(const std::vector<Row>& old, const std::vector<bool>& stays) {
    QWidget* focus = nullptr;
    for (const auto& row : old) {
        if (row.widget) {
            focus = row.widget->window()->focusWidget();
            break;
        }
    }
    for (std::size_t gone = 0; gone < old.size(); ++gone) {
        if (stays[gone] || !holds(old[gone].widget, focus))
            continue;
        for (std::size_t after = gone + 1; after < old.size(); ++after) {
            if (stays[after] && focusFirstControlOf(old[after].widget))
                return;
        }
        for (std::size_t before = gone; before-- > 0;) {
            if (stays[before] && focusFirstControlOf(old[before].widget))
                return;
        }
        if (whenEmpty_ && whenEmpty_->isVisible() && whenEmpty_->isEnabled())
            whenEmpty_->setFocus(Qt::OtherFocusReason);
        return;
    }
}

// A row put in a shown layout shows on the next event-loop turn; the focus
// follows once it stands, laid out, where the user will see it.
void KeyedRows::focusNewRow(QWidget* row) {
    QPointer<QWidget> origin = newRowFrom_;
    newRowFrom_.clear();
    if (!origin)
        return;
    QPointer<QWidget> made = row;
    QMetaObject::invokeMethod(
        row,
        [origin, made] {
            if (!origin || !made || !holds(origin, origin->window()->focusWidget()))
                return;
            // Its page grows only as the layouts queued by its showing
            // run: measured before, the row would be brought into view
            // where it no longer stands.
            settleLayouts(made);
            focusFirstControlOf(made);
        },
        Qt::QueuedConnection);
}

}  // namespace quorvane
