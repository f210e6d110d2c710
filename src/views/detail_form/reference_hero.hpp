#pragma once

#include <vector>

#include <QWidget>

#include "models/display/display_snapshot.hpp"

class QGridLayout;

namespace quorvane {

struct DetailFormContext;
class PreviewCard;
class ShrinkingLabel;
class WrappingLabel;

// The colour page's header: title, subtitle and three status metrics beside
// (or, when the column is narrow, above) the display's preview card.
// Read-only; refresh() re-reads every text. A theme change re-arranges the
// metric tiles and the card in place (their columns and widths follow the
// text size).
class ReferenceHero : public QWidget {
    Q_OBJECT

  public:
    explicit ReferenceHero(DetailFormContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display);

  private:
    QWidget* makeCopy();
    QWidget* makePreviewCard();
    void arrange();

    DetailFormContext& context_;
    WrappingLabel* title_ = nullptr;
    QGridLayout* metricGrid_ = nullptr;
    std::vector<QWidget*> metricTiles_;
    std::vector<WrappingLabel*> metricValues_;
    PreviewCard* previewCard_ = nullptr;
    WrappingLabel* previewName_ = nullptr;
    WrappingLabel* previewDetail_ = nullptr;
    std::vector<ShrinkingLabel*> chipValues_;
};

}  // namespace quorvane
