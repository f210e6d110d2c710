#pragma once

#include <vector>

#include <QWidget>

#include "models/display/display_snapshot.hpp"

namespace quorvane {

struct DetailFormContext;
class ShrinkingLabel;
class WrappingLabel;

// The colour page's header: title, subtitle and three status metrics beside
// (or, when the column is narrow, above) the display's preview card.
// Read-only; refresh() re-reads every text.
class ReferenceHero : public QWidget {
    Q_OBJECT

  public:
    explicit ReferenceHero(DetailFormContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display);

  private:
    QWidget* makeCopy();
    QWidget* makePreviewCard();

    DetailFormContext& context_;
    WrappingLabel* title_ = nullptr;
    std::vector<ShrinkingLabel*> metricValues_;
    WrappingLabel* previewName_ = nullptr;
    WrappingLabel* previewDetail_ = nullptr;
    std::vector<ShrinkingLabel*> chipValues_;
};

}  // namespace quorvane
