#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "models/ddc/ddc_snapshot.hpp"
#include "models/ddc/ddc_vcp_code.hpp"
#include "models/display/display_snapshot.hpp"
#include "services/ddc/ddc_capability_badge.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

// The monitor-settings page ("모니터 자체 설정"): the system brightness of a
// panel that offers one, and the monitor's own controls over DDC/CI. A
// control the monitor did not answer has no row at all; rows that exist are
// disabled as a whole while the display is busy.
struct MonitorSettingsSection {
    struct BrightnessRow {
        double value = 0;
        std::string valueText;  // whole percent, halves away from zero

        bool operator==(const BrightnessRow&) const = default;
    };
    struct MonitorRow {
        DDCVCPCode code = DDCVCPCode::brightness;
        std::string title;
        std::optional<std::string> subtitle;
        double minimum = 0;
        double value = 0;  // current / maximum, clamped; 0 without a maximum
        std::string valueText;

        bool operator==(const MonitorRow&) const = default;
    };
    struct InputOption {
        std::string label;
        std::uint16_t value = 0;

        bool operator==(const InputOption&) const = default;
    };
    struct InputRow {
        std::string menuTitle;  // "현재: " and the source's label

        bool operator==(const InputRow&) const = default;
    };

    bool showsSyncNote = false;
    std::string probeTitle;
    bool probeDisabled = false;
    // The line under the status row: the built-in note, else the badge's
    // detail, else none.
    std::optional<std::string> statusNote;
    DDCCapabilityBadge badge;
    std::optional<BrightnessRow> systemBrightness;
    std::vector<MonitorRow> monitorRows;  // in the fixed page order
    std::optional<InputRow> input;
    bool monitorControlsDisabled = false;

    bool operator==(const MonitorSettingsSection&) const = default;

    // What a check of the monitor came to, as one sentence: the badge's
    // verdict and the line under it ("미지원. 시스템이 이 화면의 …").
    std::string probeOutcome() const;

    static MonitorSettingsSection make(const DisplayStore& store, const DisplaySnapshot& display);

    static std::string inputMenuTitle(std::uint16_t current);
    static std::string probeButtonTitle(bool busy, DDCCapabilityBadgeKind kind);
    // The input menu's entries in menu order.
    static const std::vector<InputOption>& inputOptions();

    // --- Actions (each one store call) -------------------------------------
    static void commitSystemBrightness(DisplayStore& store, DisplayID displayID, double value);
    static void commitMonitorValue(DisplayStore& store, DisplayID displayID, DDCVCPCode code,
                                   double value);
    // May blank the screen at once when the monitor switches away; the
    // outcome reaches the status line through the store.
    static void chooseInput(DisplayStore& store, DisplayID displayID, std::uint16_t value);
    static void probe(DisplayStore& store, DisplayID displayID);

    static constexpr double kSystemBrightnessMinimum = 0.05;
    static constexpr double kSystemBrightnessNudge = 0.01;

    static constexpr const char* kIntro =
        "선택 기능입니다. 가능한 외장 모니터에서는 밝기·대비·입력을 바꿀 수 있지만, "
        "케이블·허브·모니터에 따라 안 될 수 있습니다.";
    static constexpr const char* kIntroHelp =
        "이 기능의 대표 표준이 DDC/CI입니다. 이 컴퓨터가 모니터에 밝기·대비·입력 변경을 "
        "요청하며, 케이블·허브·모니터에 따라 동작하지 않을 수 있습니다.";
    static constexpr const char* kDisclosureTitle = "DDC/CI가 뭔가요?";
    static constexpr const char* kDisclosureText =
        "이 컴퓨터가 외장 모니터에 밝기나 입력 변경을 요청하는 표준 방식입니다. 지원하지 "
        "않아도 고장이 아니며, Quorvane의 화면 색감 조정과 프리셋은 계속 사용할 수 있습니다.";
    static constexpr const char* kSyncNote =
        "밝기 동기화 켜짐: 이 화면의 밝기를 바꾸면 확인된 다른 디스플레이에도 맞춥니다.";
    static constexpr const char* kLegend =
        "표식이 있는 항목은 조절을 끝내거나 메뉴를 선택하면 모니터 자체 설정에 바로 "
        "기록됩니다.";
    static constexpr const char* kStatusLabel = "모니터 기능 확인";
    static constexpr const char* kProbeHelp =
        "외장 모니터가 밝기·대비·입력 전환 같은 자체 설정 변경에 응답하는지 확인합니다.";
    static constexpr const char* kBuiltinNote =
        "내장 디스플레이는 이 방식 대신 시스템 밝기 경로를 사용합니다.";
    static constexpr const char* kSystemBrightnessTitle = "밝기";
    static constexpr const char* kSystemBrightnessSubtitle = "시스템이 제공하는 값";
    static constexpr const char* kSystemBrightnessHelp =
        "일부 내장/시스템 디스플레이가 시스템에 노출하는 밝기 값입니다.";
    static constexpr const char* kMonitorRowHelp =
        "이 값은 모니터 자체 설정으로 기록됩니다. 지원 여부는 모니터마다 다릅니다.";
    static constexpr const char* kInputTitle = "입력 소스";
    static constexpr const char* kInputSubtitle = "모니터 자체 입력 전환";
    static constexpr const char* kInputWarning =
        "입력 전환 후 이 디스플레이가 시스템에서 사라질 수 있습니다. 필요하면 모니터 버튼 "
        "메뉴로 되돌리세요.";
};

}  // namespace quorvane
