#include "app/screenshots/shot_list.hpp"

namespace quorvane {

// The pictures of the settings import preview sheet.
void addImportSheetShots(ShotList& shots) {
    (void)shots;
}

}  // namespace quorvane
