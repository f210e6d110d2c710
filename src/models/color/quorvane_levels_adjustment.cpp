#include "models/color/quorvane_levels_adjustment.hpp"

namespace quorvane {

ColorAdjustment QuorvaneLevelsAdjustment::QuickOption::applied(ColorAdjustment adjustment) const {
    adjustment.softwareBrightness = softwareBrightness;
    adjustment.contrast = contrast;
    adjustment.gamma = gamma;
    return adjustment;
}

const std::vector<QuorvaneLevelsAdjustment::QuickOption>& QuorvaneLevelsAdjustment::quickOptions() {
    static const std::vector<QuickOption> list = [] {
        const ColorAdjustment neutral = ColorAdjustment::neutral();
        return std::vector<QuickOption>{
            {"soft-tone", "부드럽게", "그림자 완화", 1.0, 0.9, 1.05},
            {"crisp-tone", "또렷하게", "깊이감 강조", 1.05, 1.15, 0.95},
            {"neutral-tone", "기본 톤", "톤만 초기화", neutral.softwareBrightness, neutral.contrast,
             neutral.gamma},
        };
    }();
    return list;
}

}  // namespace quorvane
