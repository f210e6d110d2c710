#include "views/detail_form/grouped_form_page.hpp"

#include <QScrollArea>
#include <QVBoxLayout>

#include "presentation/detail_form/detail_form_page.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/diagnostics_section_view.hpp"
#include "views/detail_form/display_overview_card.hpp"
#include "views/detail_form/groups_section_view.hpp"
#include "views/detail_form/monitor_settings_section_view.hpp"
#include "views/detail_form/presets_section_view.hpp"
#include "views/detail_form/profile_section_view.hpp"
#include "views/detail_form/recent_change_prompt_slot.hpp"
#include "views/detail_form/recovery_section_view.hpp"
#include "views/detail_form/resolution_section_view.hpp"
#include "views/detail_form/scenes_section_view.hpp"
#include "views/detail_form/scroll_page.hpp"

namespace quorvane {

DetailPage* makeSectionContent(DetailFormContext& context, MainWindowSection section) {
    switch (section) {
        case MainWindowSection::profile:
            return new ProfileSectionView(context);
        case MainWindowSection::hardware:
            return new MonitorSettingsSectionView(context);
        case MainWindowSection::scenes:
            return new ScenesSectionView(context);
        case MainWindowSection::groups:
            return new GroupsSectionView(context);
        case MainWindowSection::presets:
            return new PresetsSectionView(context);
        case MainWindowSection::resolution:
            return new ResolutionSectionView(context);
        case MainWindowSection::diagnostics:
            return new DiagnosticsSectionView(context);
        case MainWindowSection::recovery:
            return new RecoverySectionView(context);
        case MainWindowSection::start:
        case MainWindowSection::color:
            return nullptr;
    }
    return nullptr;
}

GroupedFormPage::GroupedFormPage(DetailFormContext& context, MainWindowSection section,
                                 QWidget* parent)
    : DetailPage(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    // Outside the scrolling form, so it stays in view.
    auto* prompt = new RecentChangePromptSlot(context);
    prompt->setContentsMargins(18, 12, 18, 4);
    outer->addWidget(prompt);

    auto* form = new QWidget;
    auto* column = new QVBoxLayout(form);
    column->setContentsMargins(18, 10, 18, 18);
    column->setSpacing(10);
    overview_ = new DisplayOverviewCard(context);
    connect(overview_, &DisplayOverviewCard::draftsChanged, this, &DetailPage::draftsChanged);
    column->addWidget(overview_);

    content_ = makeSectionContent(context, section);
    if (const auto header = DetailFormPage::header(section)) {
        auto* title = makeText(context.theme, qText(*header), QuorvaneFontStyle::subheadline,
                               QFont::DemiBold, true);
        title->setContentsMargins(4, 8, 4, 0);
        setSpokenName(title, qText(*header));
        column->addWidget(title);
    }
    if (content_) {
        connect(content_, &DetailPage::draftsChanged, this, &DetailPage::draftsChanged);
    }
    if (content_ && section == MainWindowSection::recovery) {
        // Its groups carry their own headers and panels.
        column->addWidget(content_);
    } else if (content_) {
        auto* panel = new SurfacePanel(context.theme, SurfacePanel::Kind::soft, 14, 12);
        auto* panelColumn = new QVBoxLayout(panel);
        panelColumn->setContentsMargins(0, 0, 0, 0);
        panelColumn->addWidget(content_);
        column->addWidget(panel);
    }
    column->addStretch(1);
    auto* scroll = makeTransparentScrollArea(form, this);
    outer->addWidget(scroll, 1);
    prompt->keepStill(scroll);
}

void GroupedFormPage::refresh(const DisplaySnapshot& display) {
    overview_->refresh(display);
    if (content_)
        content_->refresh(display);
}

}  // namespace quorvane
