#pragma once

#include <QWidget>

class QScrollArea;

namespace quorvane {

class RecentChangePromptView;
struct DetailFormContext;

// The first element of every page: the recent-change prompt while the store
// holds one, nothing (and no space) otherwise. The margins are the caller's.
class RecentChangePromptSlot : public QWidget {
    Q_OBJECT

  public:
    explicit RecentChangePromptSlot(DetailFormContext& context, QWidget* parent = nullptr);

    // The page's scroll area (the slot at the top of its content or just
    // above it): when the prompt appears, goes or changes height, the
    // content under the pointer stays where it is.
    void keepStill(QScrollArea* area);

  private:
    RecentChangePromptView* prompt_;
};

}  // namespace quorvane
