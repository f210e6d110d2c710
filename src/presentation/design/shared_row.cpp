#include "presentation/design/shared_row.hpp"

#include <algorithm>

namespace quorvane {

SharedRowWidths shareRow(int available, int spacing, int firstIdeal, int secondIdeal) {
    const int room = std::max(0, available - spacing);
    if (firstIdeal + secondIdeal <= room)
        return {firstIdeal, room - firstIdeal};
    const int half = room / 2;
    if (firstIdeal <= half)
        return {firstIdeal, room - firstIdeal};
    if (secondIdeal <= half)
        return {room - secondIdeal, secondIdeal};
    return {half, room - half};
}

}  // namespace quorvane
