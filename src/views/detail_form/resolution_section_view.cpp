#include "views/detail_form/resolution_section_view.hpp"

#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "views/access/spoken_text.hpp"
#include "views/access/toggle_button_accessible.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/form_rows.hpp"

namespace quorvane {

ResolutionSectionView::ResolutionSectionView(DetailFormContext& context, QWidget* parent)
    : DetailPage(parent), context_(context) {
    Theme& theme = context.theme;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    column->addWidget(makeCaption(theme, ResolutionSection::kIntro));
    current_ = makeText(theme, QString(), QuorvaneFontStyle::body, QFont::Normal, true);
    column->addWidget(makeLabeledRow(theme, QStringLiteral("현재 모드"), current_));
    menuButton_ = new QPushButton(ResolutionSection::kMenuTitle);
    auto* menu = new QMenu(menuButton_);
    // A screen reader names the menu that opens by its title.
    menu->setTitle(menuButton_->text());
    setSpokenName(menu, menuButton_->text());
    menuButton_->setMenu(menu);
    readAsToggleButton(menuButton_);
    column->addWidget(menuButton_, 0, Qt::AlignLeft);
    closingNote_ = makeCaption(theme, ResolutionSection::kClosingNote);
    column->addWidget(closingNote_);
}

void ResolutionSectionView::refresh(const DisplaySnapshot& display) {
    display_ = display;
    const auto section = ResolutionSection::make(display);
    if (shown_ && *shown_ == section)
        return;
    current_->setText(qText(section.currentMode));
    QMenu* menu = menuButton_->menu();
    menu->clear();
    for (const auto& item : section.items) {
        const std::string id = item.id;
        menu->addAction(qText(item.label), this, [this, id] {
            if (display_)
                ResolutionSection::choose(context_.store, *display_, id);
        });
    }
    menuButton_->setVisible(!section.items.empty());
    closingNote_->setVisible(!section.items.empty());
    shown_ = section;
}

}  // namespace quorvane
