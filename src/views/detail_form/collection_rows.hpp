#pragma once

#include <functional>

#include <QString>

class QMenu;
class QWidget;

namespace quorvane {

class Theme;

// One row of a collection page: the entry's name (verbatim) over a caption,
// and its buttons at the trailing edge. Names of any length wrap rather than
// widen the page. A row of several buttons moves them under the texts when
// the column is narrow; a single button stays beside the texts.
enum class RowButtons { single, several };
QWidget* makeCollectionRow(Theme& theme, const QString& name, const QString& caption,
                           QWidget* buttons, RowButtons kind);
// Shows a changed name or caption in a row made above, in place.
void setCollectionRowTexts(QWidget* row, const QString& name, const QString& caption);

// Gives `row` the context menu with "삭제…" (the user's entries);
// setDeletable(false) leaves it none at all (built-in entries), so no menu
// of a parent shows instead. A row kept for its entry switches between the
// two.
void setDeleteMenu(QWidget* row, std::function<void()> requestDelete);
void setDeletable(QWidget* row, bool deletable);

}  // namespace quorvane
