#pragma once

#include <QWidget>

namespace quorvane {

struct DetailFormContext;

// The first element of every page: the recent-change prompt while the store
// holds one, nothing (and no space) otherwise. The margins are the caller's.
class RecentChangePromptSlot : public QWidget {
    Q_OBJECT

  public:
    explicit RecentChangePromptSlot(DetailFormContext& context, QWidget* parent = nullptr);
};

}  // namespace quorvane
