#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "presentation/detail_form/presets_section.hpp"
#include "views/detail_form/detail_page.hpp"

namespace quorvane {

class KeyedRows;
class NewNameRow;

// The presets page ("내 설정 저장"). With hundreds of presets a redraw for
// an unrelated store change only compares the list and rebuilds nothing.
class PresetsSectionView : public DetailPage {
    Q_OBJECT

  public:
    explicit PresetsSectionView(DetailFormContext& context, QWidget* parent = nullptr);
    ~PresetsSectionView() override;

    void refresh(const DisplaySnapshot& display) override;

  private:
    QWidget* makeRow(const PresetsSection::Row& row);
    void showRow(QWidget* item, const PresetsSection::Row& row);

    DetailFormContext& context_;
    DisplayID displayID_ = 0;
    std::unique_ptr<KeyedRows> rows_;
    std::vector<PresetsSection::Row> shown_;
    std::optional<std::vector<std::string>> shownKey_;
    NewNameRow* nameRow_ = nullptr;
};

}  // namespace quorvane
