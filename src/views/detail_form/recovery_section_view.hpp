#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "presentation/detail_form/recovery_section.hpp"
#include "views/detail_form/detail_page.hpp"

class QVBoxLayout;

namespace quorvane {

class KeyedRows;
class RecoveryJournalView;

// The recovery page: the display's effect state, the per-display cards
// (absent without a recovery snapshot), the newest journal entries, the
// emergency recovery and the clean-up cards, each under its own header.
// Each card stays while the page lives and changes in place.
class RecoverySectionView : public DetailPage {
    Q_OBJECT

  public:
    explicit RecoverySectionView(DetailFormContext& context, QWidget* parent = nullptr);
    ~RecoverySectionView() override;

    void refresh(const DisplaySnapshot& display) override;

  private:
    void showCards(KeyedRows& rows, const std::vector<RecoveryCard>& cards);
    QWidget* makeStatePanel(const std::optional<RecoverySection::StatePanel>& state);

    DetailFormContext& context_;
    std::optional<DisplaySnapshot> display_;
    std::optional<RecoverySection> shown_;
    QVBoxLayout* stateSlot_ = nullptr;
    QWidget* displayGroup_ = nullptr;
    std::unique_ptr<KeyedRows> displayCards_;
    RecoveryJournalView* journal_ = nullptr;
    std::unique_ptr<KeyedRows> emergencyCard_;
    std::unique_ptr<KeyedRows> cleanUpCards_;
};

}  // namespace quorvane
