#include "views/detail_form/diagnostics_section_view.hpp"

#include <QVBoxLayout>

#include "presentation/detail_form/diagnostics_section.hpp"
#include "views/controls/health_check_wizard.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/form_rows.hpp"

namespace quorvane {

DiagnosticsSectionView::DiagnosticsSectionView(DetailFormContext& context, QWidget* parent)
    : DetailPage(parent), context_(context) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    column->addWidget(makeCaption(context.theme, DiagnosticsSection::kIntro));
    body_ = new QVBoxLayout;
    column->addLayout(body_);
}

void DiagnosticsSectionView::refresh(const DisplaySnapshot& display) {
    display_ = display;
    auto summary = context_.store.supportSummary(display.id);
    // The wizard is rebuilt only for a new summary, so a press on one of
    // its buttons never deletes the button under the click.
    if (shown_ && *shown_ == summary)
        return;
    const bool hadWizard = shown_ && shown_->has_value();
    shown_ = summary;
    if (summary && hadWizard) {
        if (auto* wizard = findChild<HealthCheckWizard*>()) {
            wizard->setSummary(*summary);
            return;
        }
    }
    clearLayout(body_);
    if (!summary) {
        body_->addWidget(makeUnavailableContent(context_.theme, "info.circle",
                                                DiagnosticsSection::kNoSummaryTitle,
                                                DiagnosticsSection::kNoSummaryText));
        return;
    }
    body_->addWidget(new HealthCheckWizard(
        context_.theme, *summary, [this](const QuorvaneSupportAction& action) {
            if (display_)
                DiagnosticsSection::runSupportAction(action, context_.store, context_.state,
                                                     *display_);
        }));
}

}  // namespace quorvane
