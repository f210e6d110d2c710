#pragma once

#include <optional>

#include "presentation/detail_form/recovery_section.hpp"
#include "views/detail_form/detail_page.hpp"

class QVBoxLayout;

namespace quorvane {

class RecoveryJournalView;

// The recovery page: the display's effect state, the per-display cards
// (absent without a recovery snapshot), the newest journal entries, the
// emergency recovery and the clean-up cards, each under its own header.
// Cards are rebuilt only when what they show changes.
class RecoverySectionView : public DetailPage {
    Q_OBJECT

  public:
    explicit RecoverySectionView(DetailFormContext& context, QWidget* parent = nullptr);

    void refresh(const DisplaySnapshot& display) override;

  private:
    QWidget* makeCard(const RecoveryCard& card);
    QWidget* makeStatePanel(const std::optional<RecoverySection::StatePanel>& state);

    DetailFormContext& context_;
    std::optional<DisplaySnapshot> display_;
    std::optional<RecoverySection> shown_;
    QVBoxLayout* stateSlot_ = nullptr;
    QWidget* displayGroup_ = nullptr;
    QVBoxLayout* displayCards_ = nullptr;
    RecoveryJournalView* journal_ = nullptr;
    QVBoxLayout* emergencySlot_ = nullptr;
    QVBoxLayout* cleanUpSlot_ = nullptr;
};

}  // namespace quorvane
