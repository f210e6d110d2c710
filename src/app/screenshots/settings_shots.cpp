#include "app/screenshots/shot_list.hpp"

namespace quorvane {

// The pictures of the settings window.
void addSettingsShots(ShotList& shots) {
    (void)shots;
}

}  // namespace quorvane
