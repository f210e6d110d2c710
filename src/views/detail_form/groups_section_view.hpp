#pragma once

#include <optional>
#include <string>
#include <vector>

#include "views/detail_form/detail_page.hpp"

class QComboBox;
class QVBoxLayout;

namespace quorvane {

class NewNameRow;

// The display-groups page ("모니터 묶음"): the sync scope, the saved groups
// (or the empty state), and saving the connected displays as a group.
class GroupsSectionView : public DetailPage {
    Q_OBJECT

  public:
    explicit GroupsSectionView(DetailFormContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display) override;

  private:
    DetailFormContext& context_;
    QComboBox* scope_ = nullptr;
    QVBoxLayout* rows_ = nullptr;
    std::optional<std::vector<std::string>> shownKey_;
    NewNameRow* nameRow_ = nullptr;
};

}  // namespace quorvane
