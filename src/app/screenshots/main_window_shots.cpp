#include "app/screenshots/shot_list.hpp"

namespace quorvane {

// The pictures of the main window.
void addMainWindowShots(ShotList& shots) {
    (void)shots;
}

}  // namespace quorvane
