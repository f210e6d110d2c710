#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "presentation/detail_form/groups_section.hpp"
#include "views/detail_form/detail_page.hpp"

class QComboBox;

namespace quorvane {

class KeyedRows;
class NewNameRow;

// The display-groups page ("모니터 묶음"): the sync scope, the saved groups
// (or the empty state), and saving the connected displays as a group.
class GroupsSectionView : public DetailPage {
    Q_OBJECT

  public:
    explicit GroupsSectionView(DetailFormContext& context, QWidget* parent = nullptr);
    ~GroupsSectionView() override;

    void refresh(const DisplaySnapshot& display) override;

  private:
    QWidget* makeRow(const GroupsSection::Row& row);

    DetailFormContext& context_;
    QComboBox* scope_ = nullptr;
    std::unique_ptr<KeyedRows> rows_;
    QWidget* empty_ = nullptr;
    std::vector<GroupsSection::Row> shown_;
    std::optional<std::vector<std::string>> shownKey_;
    NewNameRow* nameRow_ = nullptr;
};

}  // namespace quorvane
