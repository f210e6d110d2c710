#pragma once

#include <optional>

#include "presentation/detail_form/resolution_section.hpp"
#include "views/detail_form/detail_page.hpp"

class QPushButton;

namespace quorvane {

class WrappingLabel;

// The resolution page ("해상도"): the current mode and the mode menu; a
// choice switches at once through the store.
class ResolutionSectionView : public DetailPage {
    Q_OBJECT

  public:
    explicit ResolutionSectionView(DetailFormContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display) override;

    QPushButton* menuButton() const { return menuButton_; }

  private:
    DetailFormContext& context_;
    std::optional<DisplaySnapshot> display_;
    std::optional<ResolutionSection> shown_;
    WrappingLabel* current_ = nullptr;
    QPushButton* menuButton_ = nullptr;
    QWidget* closingNote_ = nullptr;
};

}  // namespace quorvane
