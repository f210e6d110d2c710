#pragma once

#include "views/detail_form/detail_page.hpp"

class QLabel;

namespace quorvane {

class SymbolImage;
class WrappingLabel;

// The start page: the hero, three step cards that open their sections and
// the panel with the advanced-settings button. It changes nothing on a
// display.
class StartGuidePage : public DetailPage {
    Q_OBJECT

  public:
    StartGuidePage(DetailFormContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display) override;

  private:
    QWidget* makeHero();
    QWidget* makeSteps();
    QWidget* makeSecondaryAction();

    DetailFormContext& context_;
    SymbolImage* displaySymbol_ = nullptr;
    WrappingLabel* displayLabel_ = nullptr;
};

}  // namespace quorvane
