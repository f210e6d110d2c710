#pragma once

#include <memory>
#include <optional>

#include "presentation/detail_form/profile_section.hpp"
#include "views/detail_form/detail_page.hpp"

class QComboBox;
class QPushButton;
class QVBoxLayout;

namespace quorvane {

class KeyedRows;
class WrappingLabel;

// The colour-profile page ("색상 기준"). Picking a profile only records a
// candidate for the display; the system's profile changes after a confirmed
// apply or restore, both posted to the window's confirmation coordinator.
class ProfileSectionView : public DetailPage {
    Q_OBJECT

  public:
    explicit ProfileSectionView(DetailFormContext& context, QWidget* parent = nullptr);
    ~ProfileSectionView() override;

    void refresh(const DisplaySnapshot& display) override;

  private:
    void buildAvailable();
    void buildUnavailable();
    void showAvailable(const ProfileSection& model);
    void showBody(bool available);

    DetailFormContext& context_;
    std::optional<DisplaySnapshot> display_;
    std::optional<ProfileSection> shown_;
    QVBoxLayout* body_ = nullptr;
    QWidget* available_ = nullptr;
    QWidget* unavailable_ = nullptr;
    QVBoxLayout* unavailableNote_ = nullptr;
    QWidget* unavailableRefresh_ = nullptr;
    QWidget* availableRefresh_ = nullptr;
    QWidget* currentRow_ = nullptr;
    WrappingLabel* currentName_ = nullptr;
    WrappingLabel* currentBadges_ = nullptr;
    std::unique_ptr<KeyedRows> rows_;
    QComboBox* picker_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* restoreButton_ = nullptr;
};

}  // namespace quorvane
