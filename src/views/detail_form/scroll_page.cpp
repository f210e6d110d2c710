#include "views/detail_form/scroll_page.hpp"

#include <QScrollArea>
#include <QVBoxLayout>

#include "views/detail_form/detail_page.hpp"
#include "views/detail_form/recent_change_prompt_slot.hpp"

namespace quorvane {

QScrollArea* makeTransparentScrollArea(QWidget* content, QWidget* parent) {
    auto* scroll = new QScrollArea(parent);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // No stop for the keyboard: Tab goes from control to control and the
    // area follows, never resting on a nameless pane.
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    scroll->setWidget(content);
    return scroll;
}

QVBoxLayout* makeScrollPage(DetailFormContext& context, QWidget* page, int spacing) {
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(spacing);
    auto* prompt = new RecentChangePromptSlot(context);
    column->addWidget(prompt);

    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = makeTransparentScrollArea(content, page);
    outer->addWidget(scroll);
    prompt->keepStill(scroll);
    return column;
}

}  // namespace quorvane
