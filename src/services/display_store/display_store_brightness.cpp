#include <algorithm>
#include <cmath>
#include <iterator>

#include "models/coding/number_format.hpp"
#include "models/display/display_control_error.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

constexpr double kMinimumSystemBrightness = 0.05;
constexpr std::string_view kBrightnessCode = "16";  // monitor brightness, in decimal

// The text of a refused system brightness write.
std::optional<std::string> setSystemBrightness(BrightnessControlling& controller,
                                               DisplayID displayID, double value) {
    try {
        controller.setBrightness(displayID, value);
        return std::nullopt;
    } catch (const DisplayControlError& error) {
        return error.description();
    } catch (const std::exception& error) {
        return std::string(error.what());
    }
}

// The whole percent a value holds, its fraction dropped: 42 for 0.429. The
// value times 100 is first taken to a millionth of a percent, since binary
// floating point holds 0.29 a hair below it and would read 28.
int wholePercent(double value) {
    return static_cast<int>(std::floor(std::round(value * 100 * 1e6) / 1e6));
}

}  // namespace

struct DisplayStore::BrightnessSyncSummary {
    int appliedDisplayCount = 0;
    int queuedWriteCount = 0;
    std::vector<std::string> skippedReasons;  // in target order
};

void DisplayStore::setHardwareBrightness(double value, DisplayID displayID) {
    ChangeScope scope(*this);
    const double clamped = std::clamp(value, kMinimumSystemBrightness, 1.0);
    if (auto failure = setSystemBrightness(*brightnessController_, displayID, clamped)) {
        setStatusMessage(*failure);
        return;
    }
    setStatusMessage("모니터 밝기 " + formatDecimal(wholePercent(clamped)) + "% 적용됨");
    // The refresh may publish a quick list without any brightness while the
    // full read runs; which display takes which path is the list's business
    // as it stood before.
    const auto displaysBeforeRefresh = displays_;
    const bool listCarriedBrightness = publishedListCarriesBrightness();
    refresh(RefreshIntent::explicitUserRefresh);
    syncBrightnessFromUserSource(displayID, clamped, displaysBeforeRefresh, listCarriedBrightness);
}

bool DisplayStore::publishedListCarriesBrightness() const {
    // While a full read is pending, the published list is the quick one,
    // read without any hardware brightness.
    return !fullDisplayRefreshTask_.has_value();
}

bool DisplayStore::takesSystemBrightness(const DisplaySnapshot& target,
                                         bool listCarriesBrightness) const {
    if (target.hardwareBrightness)
        return true;
    // A quick list cannot tell a backlit panel from a monitor; ask the
    // system rather than send a panel's brightness over DDC.
    return !listCarriesBrightness && brightnessController_->readBrightness(target.id).has_value();
}

void DisplayStore::syncBrightnessFromUserSource(DisplayID displayID, double normalizedValue,
                                                const std::vector<DisplaySnapshot>& displays,
                                                bool listCarriesBrightness) {
    if (!brightnessSyncEnabled_)
        return;
    const double value = std::clamp(normalizedValue, 0.0, 1.0);
    const auto targets = brightnessSyncTargetDisplays(displayID, displays);
    if (!targets)
        return;
    BrightnessSyncSummary summary;
    for (const auto& target : *targets) {
        if (!takesSystemBrightness(target, listCarriesBrightness)) {
            const auto maximum = eligibleDDCBrightnessMaximum(target);
            if (!maximum) {
                summary.skippedReasons.push_back(target.name + ": 모니터 밝기 확인 필요");
                continue;
            }
            const DDCControlValue range{DDCVCPCode::brightness, 0, *maximum};
            setDDCControl(DDCVCPCode::brightness, range.scaledValue(value), target.id,
                          DDCWriteRequestKind::brightnessSync);
            ++summary.queuedWriteCount;
            continue;
        }
        if (auto failure = setSystemBrightness(*brightnessController_, target.id, value))
            summary.skippedReasons.push_back(target.name + ": " + *failure);
        else
            ++summary.appliedDisplayCount;
    }
    publishBrightnessSyncSummary(summary);
}

std::optional<std::vector<DisplaySnapshot>> DisplayStore::brightnessSyncTargetDisplays(
    DisplayID displayID, const std::vector<DisplaySnapshot>& displays) {
    if (!brightnessSyncGroupID_) {
        std::vector<DisplaySnapshot> others;
        std::copy_if(displays.begin(), displays.end(), std::back_inserter(others),
                     [displayID](const DisplaySnapshot& shown) { return shown.id != displayID; });
        return others;
    }
    const auto group = std::find_if(
        customDisplayGroups_.begin(), customDisplayGroups_.end(),
        [this](const DisplayGroup& candidate) { return candidate.id == *brightnessSyncGroupID_; });
    if (group == customDisplayGroups_.end()) {
        setStatusMessage("밝기 동기화: 선택한 그룹을 찾지 못했습니다");
        return std::nullopt;
    }
    const auto source =
        std::find_if(displays.begin(), displays.end(),
                     [displayID](const DisplaySnapshot& shown) { return shown.id == displayID; });
    const auto& members = group->displayIdentityRawValues;
    // A display outside the group never drives it.
    if (source == displays.end() ||
        std::find(members.begin(), members.end(), DisplayIdentity::of(*source).rawValue) ==
            members.end()) {
        setStatusMessage("밝기 동기화: 선택한 그룹에 이 디스플레이가 없습니다");
        return std::nullopt;
    }
    auto targets = group->visibleMembers(displays);
    std::erase_if(targets,
                  [displayID](const DisplaySnapshot& member) { return member.id == displayID; });
    return targets;
}

std::optional<std::uint16_t> DisplayStore::eligibleDDCBrightnessMaximum(
    const DisplaySnapshot& display) const {
    if (isDDCBusy(display.id))
        return std::nullopt;
    if (ddcCapabilityBadge(display.id).kind != DDCCapabilityBadgeKind::confirmed)
        return std::nullopt;
    const auto entry = ddcCapabilityEntry(display.id);
    if (!entry)
        return std::nullopt;
    const auto record = entry->controls.find(std::string(kBrightnessCode));
    if (record == entry->controls.end() ||
        record->second.state != DDCCapabilityControlState::supported) {
        return std::nullopt;
    }
    if (auto snapshot = ddcSnapshots_.find(display.id); snapshot != ddcSnapshots_.end()) {
        const auto& values = snapshot->second.values;
        if (auto brightness = values.find(DDCVCPCode::brightness);
            brightness != values.end() && brightness->second.maximum != 0) {
            return brightness->second.maximum;
        }
    }
    // A range remembered from an earlier run counts only for a monitor its
    // serial number identifies.
    if (entry->hasReliableSerial && record->second.maximumValue.value_or(0) != 0)
        return record->second.maximumValue;
    return std::nullopt;
}

void DisplayStore::publishBrightnessSyncSummary(const BrightnessSyncSummary& summary) {
    const int total = summary.appliedDisplayCount + summary.queuedWriteCount;
    if (total < 1 && summary.skippedReasons.empty()) {
        setStatusMessage("밝기 동기화: 연결된 다른 디스플레이 없음");
        return;
    }
    std::string text = "밝기 동기화: " + formatDecimal(total) + "개 적용 요청";
    if (!summary.skippedReasons.empty()) {
        text += ", " + formatDecimal(static_cast<int>(summary.skippedReasons.size())) +
                "개 건너뜀 — " + summary.skippedReasons.front();
    }
    setStatusMessage(text);
}

}  // namespace quorvane
