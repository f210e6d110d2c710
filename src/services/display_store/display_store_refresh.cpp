#include <utility>

#include "models/coding/text_joining.hpp"
#include "services/display_store/display_store.hpp"

namespace quorvane {

namespace {

constexpr std::string_view kNoActiveDisplays = "활성 디스플레이 없음";
constexpr std::string_view kReadingDisplays = "화면 정보 새로 읽는 중…";

}  // namespace

void DisplayStore::refresh(RefreshIntent intent) {
    ChangeScope scope(*this);
    const auto screenNames = displayManager_->screenNamesByDisplayID();

    if (intent == RefreshIntent::passiveViewAppearance) {
        // A window appearing must not cost the start-up (or explicit) output
        // step: the full read it cancels is started again below, with the
        // intent it had, once the passive read is published.
        const auto owedIntent = fullDisplayRefreshIntent_;
        invalidatePendingFullDisplayRefresh();
        displays_ = activeDisplays(intent, screenNames);
        reconcileDisplayRefreshState(ColorProfileRefreshUpdate::readForIntent(intent));
        if (handleNoDisplaysAfterRefresh())
            return;
        if (owedIntent)
            scheduleFullDisplayRefresh(displayRefreshGeneration_, *owedIntent, screenNames);
        return;
    }

    if (deferFullRefreshes_) {
        startProgressiveFullRefresh(intent, screenNames);
        return;
    }

    invalidatePendingFullDisplayRefresh();
    displays_ = activeDisplays(intent, screenNames);
    reconcileDisplayRefreshState(ColorProfileRefreshUpdate::readForIntent(intent));
    handleNoDisplaysAfterRefresh();
    runPostRefreshOutputHandlingIfNeeded(intent);
}

void DisplayStore::invalidatePendingFullDisplayRefresh() {
    ++displayRefreshGeneration_;
    if (fullDisplayRefreshTask_)
        fullDisplayRefreshTask_->cancel();
    fullDisplayRefreshTask_.reset();
    fullDisplayRefreshIntent_.reset();
}

void DisplayStore::startProgressiveFullRefresh(RefreshIntent intent,
                                               const ScreenNames& screenNames) {
    invalidatePendingFullDisplayRefresh();
    const auto generation = displayRefreshGeneration_;
    displays_ = displaySnapshotBuilder_->lightweightDisplaySnapshots(displays_, screenNames);
    reconcileDisplayRefreshState(ColorProfileRefreshUpdate::pruneOnly());
    if (handleNoDisplaysAfterRefresh())
        return;
    if (intent == RefreshIntent::explicitUserRefresh)
        setStatusMessage(std::string(kReadingDisplays));
    scheduleFullDisplayRefresh(generation, intent, screenNames);
}

void DisplayStore::scheduleFullDisplayRefresh(std::int64_t generation, RefreshIntent intent,
                                              const ScreenNames& screenNames) {
    TaskHandle handle;
    fullDisplayRefreshTask_ = handle;
    fullDisplayRefreshIntent_ = intent;
    displayRefreshCollector_->collectFullRefresh(
        screenNames,
        [weak = weakSelf(), handle, generation, intent](DisplayFullRefreshResult result) {
            if (handle.isCancelled())
                return;
            auto self = weak.lock();
            if (!self)
                return;
            (*self)->completeFullDisplayRefresh(generation, intent, std::move(result));
        });
}

void DisplayStore::completeFullDisplayRefresh(std::int64_t generation, RefreshIntent intent,
                                              DisplayFullRefreshResult result) {
    if (generation != displayRefreshGeneration_)
        return;
    ChangeScope scope(*this);
    fullDisplayRefreshTask_.reset();
    fullDisplayRefreshIntent_.reset();
    displays_ = std::move(result.displays);
    reconcileDisplayRefreshState(
        ColorProfileRefreshUpdate::collected(std::move(result.colorProfileStates)));
    if (handleNoDisplaysAfterRefresh())
        return;
    runPostRefreshOutputHandlingIfNeeded(intent);
}

bool DisplayStore::handleNoDisplaysAfterRefresh() {
    if (!displays_.empty())
        return false;
    colorProfileStates_.clear();
    setStatusMessage(std::string(kNoActiveDisplays));
    return true;
}

void DisplayStore::runPostRefreshOutputHandlingIfNeeded(RefreshIntent intent) {
    if (intent == RefreshIntent::passiveViewAppearance)
        return;
    // The colours it writes are the record's: read afresh, not as this
    // store last heard of it (another process may have saved and written
    // its screen since), and under the shared lock, so they never land
    // after another process's colour that a newer record holds.
    outputStepAwaitingRecords_ = intent;
    recordsAwaitingReload_.insert(DisplayStoreRecord::preferences);
    takeInRecords();
}

void DisplayStore::writeOutputStep(RefreshIntent intent) {
    if (!softwareColorCorrectionEnabled_) {
        const auto result = applyNeutralColorOutputForDisabledCorrection();
        if (!result.failures.empty()) {
            setStartupOutputStatus(
                intent, "화면 색감 보정 꺼짐 상태 확인 실패: " + joined(result.failures, "; "));
        } else if (result.neutralizedCount >= 1) {
            setStartupOutputStatus(intent, "화면 색감 보정 꺼짐 — 화면은 원래 색으로 둡니다");
        }
    } else if (autoApplyEnabled_) {
        applySavedAdjustmentsIfNeeded(intent);
    }
    if (intent == RefreshIntent::startup)
        startupStatus_.reset();
}

}  // namespace quorvane
