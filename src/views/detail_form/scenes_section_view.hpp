#pragma once

#include <vector>

#include "views/detail_form/detail_page.hpp"

class QVBoxLayout;

namespace quorvane {

class NewNameRow;

// The scenes page ("작업 모드"). The rows are rebuilt only when the lists,
// subtitles or groups change, so a redraw for anything else costs a
// comparison.
class ScenesSectionView : public DetailPage {
    Q_OBJECT

  public:
    explicit ScenesSectionView(DetailFormContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display) override;

  private:
    DetailFormContext& context_;
    DisplayID displayID_ = 0;
    QVBoxLayout* rows_ = nullptr;
    std::vector<std::string> shownKey_;
    NewNameRow* nameRow_ = nullptr;
};

}  // namespace quorvane
