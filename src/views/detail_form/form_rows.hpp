#pragma once

#include <initializer_list>

#include <QString>

class QLayout;
class QWidget;

namespace quorvane {

class Theme;

// Pieces of the grouped form's rows.

// A row with its label at the leading edge and `content` at the trailing edge.
QWidget* makeLabeledRow(Theme& theme, const QString& label, QWidget* content);
QWidget* makeLabeledRow(Theme& theme, QWidget* label, QWidget* content);
// Buttons side by side at the leading edge.
QWidget* makeButtonRow(std::initializer_list<QWidget*> buttons);
// The "nothing to show" block: a large symbol, a title and a description.
QWidget* makeUnavailableContent(Theme& theme, const char* systemImage, const QString& title,
                                const QString& description);
// The green "현재" mark of the profile list.
QWidget* makeCurrentMark(Theme& theme);
// Empties `layout`; its widgets are hidden and deleted on the next turn.
void clearLayout(QLayout* layout);

}  // namespace quorvane
