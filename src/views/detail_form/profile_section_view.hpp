#pragma once

#include <optional>

#include "presentation/detail_form/profile_section.hpp"
#include "views/detail_form/detail_page.hpp"

class QComboBox;
class QPushButton;
class QVBoxLayout;

namespace quorvane {

class WrappingLabel;

// The colour-profile page ("색상 기준"). Picking a profile only records a
// candidate for the display; the system's profile changes after a confirmed
// apply or restore, both posted to the window's confirmation coordinator.
class ProfileSectionView : public DetailPage {
    Q_OBJECT

  public:
    explicit ProfileSectionView(DetailFormContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display) override;

  private:
    void buildAvailable(const ProfileSection& model);
    void buildUnavailable(const ProfileSection& model);
    void updateAvailable(const ProfileSection& model);
    void clearBody();

    DetailFormContext& context_;
    std::optional<DisplaySnapshot> display_;
    std::optional<ProfileSection> shown_;
    QVBoxLayout* body_ = nullptr;
    QComboBox* picker_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* restoreButton_ = nullptr;
};

}  // namespace quorvane
