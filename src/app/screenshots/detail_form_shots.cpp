#include "app/screenshots/shot_list.hpp"

namespace quorvane {

// The pictures of the display detail form.
void addDetailFormShots(ShotList& shots) {
    (void)shots;
}

}  // namespace quorvane
