#include <algorithm>

#include "models/coding/uuid_text.hpp"
#include "models/ddc/ddc_input_source.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

constexpr std::string_view kProbeFirst = "먼저 모니터 기능 확인을 실행하세요";
constexpr double kMinimumSliderBrightness = 0.05;

}  // namespace

void DisplayStore::setMonitorStatusMessage(std::string text) {
    setStatusMessage(std::move(text));
    // After the text, which clears the mark when it changes.
    diagnosticStatusMessageRequiresDDCValueRedaction_ = true;
}

void DisplayStore::setDDCControl(DDCVCPCode code, double normalizedValue, DisplayID displayID) {
    ChangeScope scope(*this);
    const auto snapshot = ddcSnapshots_.find(displayID);
    if (snapshot == ddcSnapshots_.end()) {
        setStatusMessage(std::string(kProbeFirst));
        return;
    }
    const auto known = snapshot->second.values.find(code);
    if (known == snapshot->second.values.end() || known->second.maximum == 0) {
        setStatusMessage(std::string(kProbeFirst));
        return;
    }
    // A monitor at zero brightness may show nothing to find the slider by.
    const double floor = code == DDCVCPCode::brightness ? kMinimumSliderBrightness : 0.0;
    const double value = std::clamp(normalizedValue, floor, 1.0);
    setDDCControl(code, known->second.scaledValue(value), displayID,
                  DDCWriteRequestKind::sliderFinalValue);
}

bool DisplayStore::setDDCControl(DDCVCPCode code, std::uint16_t rawValue, DisplayID displayID,
                                 DDCWriteRequestKind kind) {
    ChangeScope scope(*this);
    if (ddcProbeSettlingDisplayIDs_.contains(displayID)) {
        setStatusMessage("이전 모니터 기능 확인을 정리 중입니다. 잠시 후 다시 시도하세요.");
        return false;
    }
    if (code == DDCVCPCode::brightness && kind == DDCWriteRequestKind::sliderFinalValue) {
        if (auto snapshot = ddcSnapshots_.find(displayID); snapshot != ddcSnapshots_.end()) {
            const auto& values = snapshot->second.values;
            if (auto brightness = values.find(DDCVCPCode::brightness);
                brightness != values.end() && brightness->second.maximum != 0) {
                rawValue =
                    std::max(rawValue, brightness->second.scaledValue(kMinimumSliderBrightness));
            }
        }
    }
    DDCWriteRequest request;
    request.id = newUuidText();
    request.key = {displayID, code};
    request.rawValue = rawValue;
    request.kind = kind;
    const std::string text = std::string(label(code)) + " 적용 대기…";
    ddcWriteStatuses_[request.key] = {request.id, request.key, DDCWriteStatusPhase::pending,
                                      rawValue, text};
    setMonitorStatusMessage(text);
    // The queue answers every request exactly once; the answer comes back on
    // the store's thread and is published only while it is the newest.
    ddcWriteQueue_->submit(request, [weak = weakSelf()](DDCWriteResult result) {
        if (auto self = weak.lock())
            (*self)->handleDDCWriteResult(result);
    });
    return true;
}

bool DisplayStore::shouldPublishTerminalWriteResult(const DDCWriteResult& result) const {
    const auto status = ddcWriteStatuses_.find(result.key);
    return status == ddcWriteStatuses_.end() || status->second.requestID == result.requestID;
}

void DisplayStore::handleDDCWriteResult(const DDCWriteResult& result) {
    using Outcome = DDCWriteResultOutcome::Kind;
    if (result.outcome.kind == Outcome::supersededBy)
        return;
    if (!shouldPublishTerminalWriteResult(result))
        return;
    ChangeScope scope(*this);
    if (result.outcome.kind == Outcome::failed) {
        ddcWriteStatuses_[result.key] = {result.requestID, result.key, DDCWriteStatusPhase::failed,
                                         result.requestedRawValue, result.outcome.failureText};
        setMonitorStatusMessage(result.outcome.failureText);
        return;
    }
    const auto displayID = result.key.displayID;
    auto& snapshot = ddcSnapshots_[displayID];
    snapshot.displayID = displayID;
    const auto& applied = result.outcome.appliedValue;
    snapshot.values[result.key.code] = applied;
    snapshot.unsupported.erase(result.key.code);
    snapshot.lastError.reset();
    const std::string value = result.key.code == DDCVCPCode::inputSource
                                  ? ddcInputSourceLabel(applied.current)
                                  : applied.percentLabel();
    const std::string text = std::string(label(result.key.code)) + " 적용됨: " + value;
    ddcWriteStatuses_[result.key] = {result.requestID, result.key, DDCWriteStatusPhase::succeeded,
                                     result.requestedRawValue, text};
    setMonitorStatusMessage(text);

    // Only the user's own slider drives the other displays, so a sync write
    // never starts another sync.
    if (result.key.code != DDCVCPCode::brightness ||
        result.kind != DDCWriteRequestKind::sliderFinalValue) {
        return;
    }
    const double level =
        applied.maximum == 0
            ? 0.0
            : std::clamp(static_cast<double>(applied.current) / applied.maximum, 0.0, 1.0);
    syncBrightnessFromUserSource(displayID, level, displays_, publishedListCarriesBrightness());
}

}  // namespace quorvane
