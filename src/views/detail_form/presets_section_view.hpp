#pragma once

#include <optional>
#include <string>
#include <vector>

#include "views/detail_form/detail_page.hpp"

class QVBoxLayout;

namespace quorvane {

class NewNameRow;

// The presets page ("내 설정 저장"). With hundreds of presets a redraw for
// an unrelated store change only compares the list and rebuilds nothing.
class PresetsSectionView : public DetailPage {
    Q_OBJECT

  public:
    explicit PresetsSectionView(DetailFormContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display) override;

  private:
    DetailFormContext& context_;
    DisplayID displayID_ = 0;
    QVBoxLayout* rows_ = nullptr;
    std::optional<std::vector<std::string>> shownKey_;
    NewNameRow* nameRow_ = nullptr;
};

}  // namespace quorvane
