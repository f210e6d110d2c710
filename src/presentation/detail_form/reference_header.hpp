#pragma once

#include <array>
#include <string>
#include <vector>

#include "models/display/display_snapshot.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

// The texts of the colour page's header: title, three status metrics and
// the preview card. Read-only; recomputed from the store on every redraw.
struct ReferenceHeader {
    struct Metric {
        std::string title;
        std::string value;

        bool operator==(const Metric&) const = default;
    };

    std::string title;  // the display's label and " 화면 색감"
    std::vector<Metric> metrics;
    std::string previewName;
    // The current mode's label, else the vendor/model/serial numbers.
    std::string previewDetail;
    std::vector<Metric> previewChips;

    bool operator==(const ReferenceHeader&) const = default;

    static ReferenceHeader make(const DisplayStore& store, const DisplaySnapshot& display);

    // The titles of `metrics` and `previewChips`, in order.
    static constexpr std::array<const char*, 3> kMetricTitles{"화면 색감", "색온도", "현재 화면"};
    static constexpr std::array<const char*, 2> kChipTitles{"색감", "색온도"};
    static constexpr const char* kSubtitle =
        "밝기와 색온도만 먼저 조절합니다. 모니터 자체 설정이나 색상 기준은 필요할 때 고급 "
        "옵션에서 열 수 있습니다.";
};

}  // namespace quorvane
