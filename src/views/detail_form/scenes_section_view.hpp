#pragma once

#include <memory>
#include <vector>

#include "presentation/detail_form/scenes_section.hpp"
#include "views/detail_form/detail_page.hpp"

namespace quorvane {

class KeyedRows;
class NewNameRow;

// The scenes page ("작업 모드"). The rows change only when the lists,
// subtitles or groups change, so a redraw for anything else costs a
// comparison; each work mode keeps its row while it is listed.
class ScenesSectionView : public DetailPage {
    Q_OBJECT

  public:
    explicit ScenesSectionView(DetailFormContext& context, QWidget* parent = nullptr);
    ~ScenesSectionView() override;

    void refresh(const DisplaySnapshot& display) override;

  private:
    QWidget* makeRow(const ScenesSection::Row& row);
    void showRow(QWidget* item, const ScenesSection::Row& row, bool groupsChanged);
    const ScenesSection::Row* shownRow(const QWidget* item) const;

    DetailFormContext& context_;
    DisplayID displayID_ = 0;
    std::unique_ptr<KeyedRows> rows_;
    ScenesSection shown_;
    std::vector<ScenesSection::GroupItem> shownGroups_;
    std::vector<std::string> shownKey_;
    NewNameRow* nameRow_ = nullptr;
};

}  // namespace quorvane
