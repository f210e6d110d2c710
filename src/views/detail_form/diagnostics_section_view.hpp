#pragma once

#include <optional>

#include "models/diagnostics/quorvane_display_support_summary.hpp"
#include "views/detail_form/detail_page.hpp"

class QVBoxLayout;

namespace quorvane {

// The diagnostics page ("안 되는 이유 찾기"): the health-check wizard of the
// display; its buttons probe the monitor or move to another section.
class DiagnosticsSectionView : public DetailPage {
    Q_OBJECT

  public:
    explicit DiagnosticsSectionView(DetailFormContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display) override;

  private:
    DetailFormContext& context_;
    std::optional<DisplaySnapshot> display_;
    std::optional<std::optional<QuorvaneDisplaySupportSummary>> shown_;
    QVBoxLayout* body_ = nullptr;
};

}  // namespace quorvane
