#include "app/screenshots/shot_list.hpp"

namespace quorvane {

// The pictures of the shared components (design system and controls).
void addComponentsShots(ShotList& shots) {
    (void)shots;
}

}  // namespace quorvane
