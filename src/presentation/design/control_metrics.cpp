#include "presentation/design/control_metrics.hpp"

namespace quorvane {

ControlMetrics controlMetrics(QuorvaneControlSize size) {
    switch (size) {
        case QuorvaneControlSize::regular:
            return {.sliderHandle = 16,
                    .sliderGroove = 6,
                    .indicator = 16,
                    .buttonMinHeight = 26,
                    .pickerArrowWidth = 20,
                    .arrow = 9,
                    .menuIcon = 16};
        case QuorvaneControlSize::large:
            return {.sliderHandle = 20,
                    .sliderGroove = 7,
                    .indicator = 19,
                    .buttonMinHeight = 30,
                    .pickerArrowWidth = 24,
                    .arrow = 11,
                    .menuIcon = 19};
        case QuorvaneControlSize::extraLarge:
            return {.sliderHandle = 24,
                    .sliderGroove = 8,
                    .indicator = 23,
                    .buttonMinHeight = 36,
                    .pickerArrowWidth = 28,
                    .arrow = 13,
                    .menuIcon = 23};
    }
    return controlMetrics(QuorvaneControlSize::regular);
}

}  // namespace quorvane
