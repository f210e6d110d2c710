#include "app/screenshots/shot_list.hpp"

namespace quorvane {

// The pictures of the menu panel.
void addPanelShots(ShotList& shots) {
    (void)shots;
}

}  // namespace quorvane
