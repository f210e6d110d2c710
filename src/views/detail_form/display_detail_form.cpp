#include "views/detail_form/display_detail_form.hpp"

#include <QVBoxLayout>

#include "presentation/detail_form/detail_form_page.hpp"
#include "presentation/main_window/main_window_section.hpp"
#include "views/access/accessible_role.hpp"
#include "views/access/reading_order.hpp"
#include "views/access/spoken_text.hpp"
#include "views/access/unheard_filling.hpp"
#include "views/controls/confirmation_presenter.hpp"
#include "views/design/theme.hpp"
#include "views/detail_form/color_reference_page.hpp"
#include "views/detail_form/grouped_form_page.hpp"
#include "views/detail_form/start_guide_page.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

DisplayDetailForm::DisplayDetailForm(ViewContext& context, MainWindowState& state,
                                     ConfirmationPresenter& confirmations, QWidget* parent)
    : QWidget(parent), context_{context,       context.store, context.bridge,
                                context.theme, state,         confirmations.coordinator()} {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // Each widget restyles itself on a theme change; the page re-reads the
    // colours it picks from the store's state (a badge's tone). It is never
    // rebuilt, so drafts, disclosures, the curve editor and the scroll
    // position stay as the user left them.
    connect(&context.theme, &Theme::changed, this, &DisplayDetailForm::refresh);
    refresh();
}

void DisplayDetailForm::refresh() {
    const auto display = context_.store.selectedDisplay();
    if (!display) {
        if (page_) {
            layout()->removeWidget(page_);
            retire(page_);
            page_.clear();
        }
        pageKey_.reset();
        return;
    }
    const PageKey key{context_.state.selectedSection, display->id};
    if (pageKey_ && *pageKey_ == key) {
        page_->refresh(*display);
        return;
    }
    QPointer<DetailPage> old = page_;
    // An action on the page (a step card of the start page) that opens
    // another page takes the focus along to it; a sidebar row keeps it.
    const bool focusFollows = old && old->isAncestorOf(window()->focusWidget());
    replacePage(key);
    {
        // Filled unheard: the page is read as the focus reaches it.
        const UnheardFilling unheard;
        page_->refresh(*display);
    }
    if (focusFollows) {
        // Placed, shown and showing its values now (which controls are
        // enabled), so the focus moves straight from the old page to the
        // new one's first control, never through the sidebar.
        layout()->activate();
        page_->show();
        focusFirstTabStop(page_);
    }
    if (old)
        retire(old);
}

void DisplayDetailForm::retire(DetailPage* page) {
    page->hide();
    // Frozen as it was last heard: nothing in it follows the store or the
    // theme any more.
    for (QObject* part : page->findChildren<QObject*>()) {
        context_.bridge.disconnect(part);
        context_.theme.disconnect(part);
    }
    context_.bridge.disconnect(page);
    context_.theme.disconnect(page);
    // Later: the page may hold the button whose click led here.
    if (retired_ && retired_ != page)
        retired_->deleteLater();
    retired_ = page;
}

void DisplayDetailForm::replacePage(const PageKey& key) {
    if (page_)
        layout()->removeWidget(page_);
    switch (DetailFormPage::layout(key.section)) {
        case DetailFormLayout::startGuide:
            page_ = new StartGuidePage(context_, this);
            break;
        case DetailFormLayout::colorReference:
            page_ = new ColorReferencePage(context_, this);
            break;
        case DetailFormLayout::groupedForm:
            page_ = new GroupedFormPage(context_, key.section, this);
            break;
    }
    connect(page_, &DetailPage::draftsChanged, this, &DisplayDetailForm::refresh);
    // A place a screen reader names by the section's title, where the focus
    // rests when no control of the page may hold it (once the undo prompt of
    // a change made elsewhere goes). A section, not a group: Orca says a
    // focused section by its name, passes it silently on the way into the
    // page, and never reads out every text of the page as a group's loose
    // labels.
    readAs(page_, QAccessible::Section);
    setSpokenName(page_, toQString(sectionInfo(key.section).title));
    layout()->addWidget(page_);
    pageKey_ = key;
}

}  // namespace quorvane
