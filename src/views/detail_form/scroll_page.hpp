#pragma once

class QScrollArea;
class QVBoxLayout;
class QWidget;

namespace quorvane {

struct DetailFormContext;

// Fills `page` with a vertical scroll area over the window background and
// returns the column inside it (padding 24, the given spacing), which
// already holds the recent-change prompt slot as its first item.
QVBoxLayout* makeScrollPage(DetailFormContext& context, QWidget* page, int spacing);

// A scroll area that shows the window background through it.
QScrollArea* makeTransparentScrollArea(QWidget* content, QWidget* parent);

}  // namespace quorvane
