#pragma once

#include <functional>

#include <QString>

class QMenu;
class QWidget;

namespace quorvane {

class Theme;

// One row of a collection page: the entry's name (verbatim) over a caption,
// and its buttons at the trailing edge; in a narrow column the buttons go
// under the texts. Names of any length wrap rather than widen the page.
QWidget* makeCollectionRow(Theme& theme, const QString& name, const QString& caption,
                           QWidget* buttons);

// Gives `row` the context menu with "삭제…" (the user's entries), or none at
// all (built-in entries), so no menu of a parent shows instead.
void setDeleteMenu(QWidget* row, std::function<void()> requestDelete);
void setNoContextMenu(QWidget* row);

}  // namespace quorvane
