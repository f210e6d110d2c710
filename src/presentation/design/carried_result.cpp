#include "presentation/design/carried_result.hpp"

namespace quorvane {

CarriedResultStep whenTheFocusLeavesTheCarrier(const FocusLeavingCarrier& leaving) {
    if (leaving.read || !leaving.readerListens)
        return CarriedResultStep::ends;
    return leaving.movedWithinTheWindow ? CarriedResultStep::followsTheFocus
                                        : CarriedResultStep::stays;
}

}  // namespace quorvane
