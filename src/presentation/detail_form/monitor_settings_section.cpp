#include "presentation/detail_form/monitor_settings_section.hpp"

#include <algorithm>

#include "models/ddc/ddc_input_source.hpp"
#include "presentation/controls/adjustment_nudge.hpp"

namespace quorvane {

namespace {

struct MonitorRowSpec {
    DDCVCPCode code;
    const char* title;
    const char* subtitle;  // nullptr for none
    double minimum;
};

// The slider rows in page order; the input source is never a slider.
constexpr MonitorRowSpec kMonitorRows[] = {
    {DDCVCPCode::brightness, "모니터 밝기", "모니터 자체 설정", 0.05},
    {DDCVCPCode::contrast, "모니터 대비", nullptr, 0.0},
    {DDCVCPCode::redGain, "모니터 자체 RGB · 빨강", nullptr, 0.0},
    {DDCVCPCode::greenGain, "모니터 자체 RGB · 초록", nullptr, 0.0},
    {DDCVCPCode::blueGain, "모니터 자체 RGB · 파랑", nullptr, 0.0},
    {DDCVCPCode::audioVolume, "모니터 볼륨", nullptr, 0.0},
};

double fractionOf(const DDCControlValue& control) {
    if (control.maximum == 0)
        return 0;
    return std::clamp(static_cast<double>(control.current) / control.maximum, 0.0, 1.0);
}

std::vector<MonitorSettingsSection::MonitorRow> answeredRows(const DDCSnapshot& snapshot) {
    std::vector<MonitorSettingsSection::MonitorRow> rows;
    for (const auto& spec : kMonitorRows) {
        const auto found = snapshot.values.find(spec.code);
        if (found == snapshot.values.end())
            continue;
        rows.push_back({spec.code, spec.title,
                        spec.subtitle ? std::optional<std::string>(spec.subtitle) : std::nullopt,
                        spec.minimum, fractionOf(found->second), found->second.percentLabel()});
    }
    return rows;
}

}  // namespace

std::string MonitorSettingsSection::inputMenuTitle(std::uint16_t current) {
    return "현재: " + ddcInputSourceLabel(current);
}

std::string MonitorSettingsSection::probeButtonTitle(bool busy, DDCCapabilityBadgeKind kind) {
    if (busy)
        return "확인 중…";
    if (kind == DDCCapabilityBadgeKind::recheckNeeded)
        return "다시 확인";
    return "가능 여부 확인";
}

const std::vector<MonitorSettingsSection::InputOption>& MonitorSettingsSection::inputOptions() {
    static const std::vector<InputOption> options = [] {
        std::vector<InputOption> list;
        for (const auto source : kAllDDCInputSources)
            list.push_back({std::string(label(source)), rawValue(source)});
        return list;
    }();
    return options;
}

MonitorSettingsSection MonitorSettingsSection::make(const DisplayStore& store,
                                                    const DisplaySnapshot& display) {
    const bool busy = store.isDDCBusy(display.id);
    MonitorSettingsSection section;
    section.showsSyncNote = store.brightnessSyncEnabled();
    section.badge = store.ddcCapabilityBadge(display.id);
    section.probeTitle = probeButtonTitle(busy, section.badge.kind);
    section.probeDisabled = busy || display.isBuiltin;
    if (display.isBuiltin)
        section.statusNote = kBuiltinNote;
    else
        section.statusNote = section.badge.detail;
    if (display.hardwareBrightness)
        section.systemBrightness =
            BrightnessRow{*display.hardwareBrightness,
                          QuorvaneAdjustmentNudge::percentText(*display.hardwareBrightness)};
    section.monitorControlsDisabled = busy;

    const auto snapshot = store.ddcSnapshots().find(display.id);
    if (snapshot == store.ddcSnapshots().end() || snapshot->second.values.empty())
        return section;
    section.monitorRows = answeredRows(snapshot->second);
    if (const auto input = snapshot->second.values.find(DDCVCPCode::inputSource);
        input != snapshot->second.values.end())
        section.input = InputRow{inputMenuTitle(input->second.current)};
    return section;
}

void MonitorSettingsSection::commitSystemBrightness(DisplayStore& store, DisplayID displayID,
                                                    double value) {
    store.setHardwareBrightness(value, displayID);
}

void MonitorSettingsSection::commitMonitorValue(DisplayStore& store, DisplayID displayID,
                                                DDCVCPCode code, double value) {
    store.setDDCControl(code, value, displayID);
}

void MonitorSettingsSection::chooseInput(DisplayStore& store, DisplayID displayID,
                                         std::uint16_t value) {
    store.setDDCControl(DDCVCPCode::inputSource, value, displayID,
                        DDCWriteRequestKind::discreteAction);
}

void MonitorSettingsSection::probe(DisplayStore& store, DisplayID displayID) {
    store.probeDDC(displayID);
}

std::string MonitorSettingsSection::probeOutcome() const {
    if (!statusNote || statusNote->empty())
        return badge.title;
    if (badge.title.empty())
        return *statusNote;
    return badge.title + ". " + *statusNote;
}

}  // namespace quorvane
