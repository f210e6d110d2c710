#include "presentation/design/fit_arrangement.hpp"

namespace quorvane {

FitArrangement chooseArrangement(double horizontalIdealWidth, double offeredWidth) {
    return horizontalIdealWidth <= offeredWidth ? FitArrangement::horizontal
                                                : FitArrangement::vertical;
}

}  // namespace quorvane
