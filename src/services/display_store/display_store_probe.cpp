#include <utility>

#include "models/coding/uuid_text.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

constexpr std::string_view kProbeSettling =
    "이전 모니터 기능 확인을 정리 중입니다. 잠시 후 다시 시도하세요.";
constexpr std::string_view kProbeTimedOut =
    "모니터 기능 확인 시간이 초과되었습니다. 케이블·허브 연결을 확인한 뒤 다시 시도하세요.";

}  // namespace

// A probe on the monitor's bus. It always runs to its end, even after the
// store stopped waiting for it, and whoever still cares can wait for that end.
struct DisplayStore::DDCProbeTask {
    std::optional<DDCSnapshot> result;
    std::function<void()> whenFinished;

    void finish(DDCSnapshot snapshot) {
        result = std::move(snapshot);
        if (auto waiter = std::exchange(whenFinished, nullptr))
            waiter();
    }
    void onFinish(std::function<void()> waiter) {
        if (result)
            waiter();
        else
            whenFinished = std::move(waiter);
    }
};

// The probe's snapshot, or the timeout's stand-in together with the probe
// that is still running.
struct DisplayStore::DDCProbeOutcome {
    DDCSnapshot snapshot;
    std::shared_ptr<DDCProbeTask> timedOutProbeTask;
};

namespace {

// Probe and timer both report here; only the first report is delivered.
struct DDCProbeTimeoutRace {
    std::function<void(bool probeWon)> continuation;

    void resume(bool probeWon) {
        if (auto decide = std::exchange(continuation, nullptr))
            decide(probeWon);
    }
};

}  // namespace

void DisplayStore::probeDDC(DisplayID displayID) {
    ChangeScope scope(*this);
    const auto target = displayReportingMissing(displayID);
    if (!target)
        return;
    if (isDDCProbeRunningOrSettling(displayID)) {
        setStatusMessage(std::string(kProbeSettling));
        return;
    }
    const std::string requestID = newUuidText();
    ddcProbeRequestIDs_[displayID] = requestID;
    ddcProbeBusyDisplayIDs_.insert(displayID);
    setStatusMessage("모니터 기능 확인 중… 모니터/케이블에 따라 몇 초 걸릴 수 있습니다");

    probeDDCWithTimeout(displayID, ddcController_, *scheduler_, ddcProbeTimeout_,
                        [weak = weakSelf(), display = *target, requestID](DDCProbeOutcome outcome) {
                            auto self = weak.lock();
                            if (!self)
                                return;
                            // Settling starts while the request is still current; completing
                            // the probe retires it.
                            if (outcome.timedOutProbeTask) {
                                (*self)->beginDDCProbeSettling(display.id, requestID,
                                                               outcome.timedOutProbeTask);
                            }
                            (*self)->completeDDCProbe(outcome.snapshot, display, requestID);
                        });
}

void DisplayStore::probeDDCWithTimeout(DisplayID displayID,
                                       const std::shared_ptr<DDCControlling>& controller,
                                       Scheduler& scheduler, Duration timeout,
                                       std::function<void(DDCProbeOutcome)> completion) {
    auto probeTask = std::make_shared<DDCProbeTask>();
    auto race = std::make_shared<DDCProbeTimeoutRace>();
    auto timer = std::make_shared<TaskHandle>();
    race->continuation = [probeTask, timer, displayID,
                          completion = std::move(completion)](bool probeWon) {
        if (probeWon) {
            timer->cancel();
            completion({*probeTask->result, nullptr});
            return;
        }
        DDCSnapshot timedOut;
        timedOut.displayID = displayID;
        timedOut.lastError = std::string(kProbeTimedOut);
        completion({std::move(timedOut), probeTask});
    };
    *timer = scheduler.postAfter(timeout, [race] { race->resume(false); });
    controller->probe(displayID, [probeTask, race](DDCSnapshot snapshot) {
        probeTask->finish(std::move(snapshot));
        race->resume(true);
    });
}

void DisplayStore::beginDDCProbeSettling(DisplayID displayID, const std::string& requestID,
                                         const std::shared_ptr<DDCProbeTask>& probeTask) {
    const auto current = ddcProbeRequestIDs_.find(displayID);
    if (current == ddcProbeRequestIDs_.end() || current->second != requestID)
        return;
    ChangeScope scope(*this);
    ddcProbeSettlingRequestIDs_[displayID] = requestID;
    ddcProbeSettlingDisplayIDs_.insert(displayID);
    // No limit: the bus is the abandoned probe's for as long as it runs. Its
    // late snapshot is never shown.
    probeTask->onFinish([weak = weakSelf(), displayID, requestID] {
        if (auto self = weak.lock())
            (*self)->finishDDCProbeSettling(displayID, requestID);
    });
}

void DisplayStore::finishDDCProbeSettling(DisplayID displayID, const std::string& requestID) {
    const auto settling = ddcProbeSettlingRequestIDs_.find(displayID);
    if (settling == ddcProbeSettlingRequestIDs_.end() || settling->second != requestID)
        return;
    ChangeScope scope(*this);
    ddcProbeSettlingRequestIDs_.erase(settling);
    ddcProbeSettlingDisplayIDs_.erase(displayID);
}

void DisplayStore::completeDDCProbe(const DDCSnapshot& snapshot, const DisplaySnapshot& display,
                                    const std::string& requestID) {
    const auto current = ddcProbeRequestIDs_.find(display.id);
    if (current == ddcProbeRequestIDs_.end() || current->second != requestID)
        return;
    ChangeScope scope(*this);
    const Date checkedAt = scheduler_->wallNow();
    ddcSnapshots_[display.id] = snapshot;
    ddcCapabilityCache_.merge(snapshot, display, checkedAt);
    currentSessionDDCProbeKeys_.insert({DisplayIdentity::of(display).rawValue,
                                        DDCCapabilityCacheKey::connectionFingerprintFor(display)});
    saveDDCCapabilityCache();
    if (!snapshot.values.empty())
        setStatusMessage("모니터 설정 가능: " + snapshot.supportedSummary());
    else
        setStatusMessage(snapshot.lastError.value_or("모니터 설정 응답 없음"));
    ddcProbeRequestIDs_.erase(display.id);
    ddcProbeBusyDisplayIDs_.erase(display.id);
}

void DisplayStore::saveDDCCapabilityCache() {
    ddcCapabilityCacheBase_ = ddcCapabilityCache_;
    ddcCapabilityCacheStore_->save(ddcCapabilityCache_);
}

}  // namespace quorvane
