#pragma once

#include <QPointer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QBoxLayout;
class QWidget;

namespace quorvane {

// The rows of a list, one per entry, each kept for as long as its entry is
// in the list, known by the entry's key (its id, never its place or its
// name). show() updates in place the rows of entries that stay, so a switch
// the user just flipped stays the same widget with its focus, and the page
// around it does not move; it builds rows only for new entries, puts every
// row at its entry's place and removes only the rows of entries that went.
// When the focus is inside a row that goes, it first moves to the row that
// takes its place (the next one, else the one before), or, with no row
// left, to the control given by setFocusWhenEmpty(): it never falls on to
// another part of the window. Two entries with one key get a row each, in
// their order.
//
// Usage:
//   rows_ = std::make_unique<KeyedRows>(column, column->count());
//   rows_->show(keys, [&](std::size_t i) { return new EntryRow(entries[i]); },
//               [&](QWidget* row, std::size_t i) {
//                   static_cast<EntryRow*>(row)->show(entries[i]);
//               });
class KeyedRows {
  public:
    using Make = std::function<QWidget*(std::size_t index)>;
    using Update = std::function<void(QWidget* row, std::size_t index)>;
    // Puts the rows, in list order, where they belong (a grid's cells).
    using Place = std::function<void(const std::vector<QWidget*>& rows)>;

    // The rows stand in `layout`, from its item `first` on; items before
    // belong to others, and items after stay after the rows.
    explicit KeyedRows(QBoxLayout* layout, int first = 0);
    explicit KeyedRows(Place place);

    void show(const std::vector<std::string>& keys, const Make& make, const Update& update);
    // Keys of rows known by their place: slots whose content changes
    // (a card whose action turns into another).
    static std::vector<std::string> placeKeys(std::size_t count);
    // Where the focus goes when the last row holding it goes.
    void setFocusWhenEmpty(QWidget* control) { whenEmpty_ = control; }
    // The next row built for a new entry takes the focus, once it shows,
    // if the focus is then still inside `origin` (the field and button
    // that add an entry): after saving, the user goes on to what they
    // saved. Until then, and when the save added nothing, the focus stays
    // in `origin`. forgetNewRowFocus() drops the wish (the user types a
    // new name).
    void focusNewRowFrom(QWidget* origin) { newRowFrom_ = origin; }
    void forgetNewRowFocus() { newRowFrom_.clear(); }

    std::vector<QWidget*> rows() const;
    std::size_t size() const { return rows_.size(); }
    // The entry a row shows now (its place in the last list shown), so a
    // row's buttons act on its entry as it is, however it changed.
    std::optional<std::size_t> indexOf(const QWidget* row) const;

  private:
    struct Row {
        std::string key;
        QPointer<QWidget> widget;
    };

    void placeInLayout(const std::vector<QWidget*>& rows);
    void keepFocusOutOf(const std::vector<Row>& old, const std::vector<bool>& stays);
    void focusNewRow(QWidget* row);

    QBoxLayout* layout_ = nullptr;
    int first_ = 0;
    Place place_;
    std::vector<Row> rows_;
    QPointer<QWidget> whenEmpty_;
    QPointer<QWidget> newRowFrom_;
};

}  // namespace quorvane
