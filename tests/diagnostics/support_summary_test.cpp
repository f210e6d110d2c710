#include <gtest/gtest.h>

#include <chrono>

#include "models/ddc/ddc_capability_cache.hpp"
#include "models/display/display_identity.hpp"
#include "services/ddc/ddc_capability_badge_resolver.hpp"
#include "services/diagnostics/quorvane_display_support_summary_builder.hpp"

namespace quorvane {
namespace {

using namespace std::chrono;
using Builder = QuorvaneDisplaySupportSummaryBuilder;
using Status = QuorvaneSupportStatus;
using Kind = QuorvaneSupportActionKind;

const Date kNow = sys_days{year{2026} / 3 / 1} + 9h;
constexpr const char* kTimeoutText =
    "모니터 기능 확인 시간이 초과되었습니다. 케이블·허브 연결을 확인한 뒤 다시 시도하세요.";

DisplaySnapshot externalDisplay() {
    DisplaySnapshot display;
    display.id = 7;
    display.name = "Studio 27";
    display.vendorNumber = 4268;
    display.modelNumber = 41240;
    display.serialNumber = 123456;
    display.bounds = {0, 0, 2560, 1440};
    return display;
}

DisplaySnapshot builtinDisplay() {
    DisplaySnapshot display;
    display.id = 1;
    display.name = "Built-in Panel";
    display.isBuiltin = true;
    display.isMain = true;
    display.hardwareBrightness = 0.5;
    return display;
}

DDCSnapshot probeResult(std::map<DDCVCPCode, DDCControlValue> values,
                        std::map<DDCVCPCode, std::string> unsupported = {},
                        std::optional<std::string> lastError = std::nullopt) {
    return {7, 1, std::move(values), std::move(unsupported), std::move(lastError)};
}

DDCControlValue value(DDCVCPCode code) {
    return {code, 50, 100};
}

// What the store hands the builder for a display: the badge from the cache
// entry and the probe state, the last read-out and the entry.
struct MonitorState {
    std::optional<DDCSnapshot> snapshot;
    std::optional<DDCCapabilityEntry> entry;
    bool isChecking = false;

    QuorvaneDisplaySupportSummary summary(const DisplaySnapshot& display, bool isDDCBusy) const {
        const auto badge =
            DDCCapabilityBadgeResolver::badge(display, entry, isChecking, true, kNow);
        return Builder::summary(display, badge, snapshot, entry, isDDCBusy, std::nullopt,
                                std::nullopt);
    }
};

MonitorState afterProbes(const DisplaySnapshot& display, const std::vector<DDCSnapshot>& probes) {
    DDCCapabilityCache cache;
    MonitorState state;
    for (const auto& probe : probes) {
        state.entry = cache.merge(probe, display, kNow - 1h);
        state.snapshot = probe;
    }
    return state;
}

const QuorvaneSupportCapabilityRow& directControlRow(const QuorvaneDisplaySupportSummary& summary) {
    return summary.capabilities.at(2);
}

TEST(DisplaySupportSummary, BuiltInDisplayUsesTheSystemBrightness) {
    const auto summary = MonitorState{}.summary(builtinDisplay(), false);
    EXPECT_EQ(summary.subtitle, "내장 디스플레이");
    EXPECT_EQ(summary.overallStatus, Status::available);
    EXPECT_EQ(summary.overallMessage, "앱 색감 조정과 시스템 밝기 조정을 바로 쓸 수 있습니다.");
    EXPECT_EQ(summary.capabilities.at(2).id, "monitor-direct-control");
    EXPECT_EQ(summary.capabilities[1].status, Status::available);
    const auto& row = directControlRow(summary);
    EXPECT_EQ(row.status, Status::unavailable);
    ASSERT_EQ(row.actions.size(), 1u);
    EXPECT_EQ(row.actions[0].title, "외장 모니터에서만 확인");
    EXPECT_FALSE(row.actions[0].isEnabled);
    const auto& step = summary.wizardSteps.at(1);
    EXPECT_EQ(step.id, "direct-control-unavailable");
    EXPECT_EQ(step.action, row.actions[0]);
    // Without snapshot, entry or profile state: four lines, five with a badge detail.
    EXPECT_EQ(summary.technicalDetails.size(), 5u);
    EXPECT_EQ(summary.technicalDetails[3], "모니터 기능 확인: 아직 확인하지 않음");
}

TEST(DisplaySupportSummary, UncheckedMonitorOffersTheProbeOnlyWhenIdle) {
    const auto idle = MonitorState{}.summary(externalDisplay(), false);
    EXPECT_EQ(idle.overallStatus, Status::needsCheck);
    EXPECT_EQ(idle.capabilities[1].status, Status::informational);
    const auto& probe = directControlRow(idle).actions.at(0);
    EXPECT_EQ(probe.kind, Kind::probeDDC);
    EXPECT_TRUE(probe.isEnabled);
    EXPECT_EQ(idle.wizardSteps[1].id, "direct-control-check");
    EXPECT_EQ(idle.wizardSteps[1].action, probe);

    const auto busy = MonitorState{}.summary(externalDisplay(), true);
    const auto& waiting = directControlRow(busy).actions.at(0);
    EXPECT_FALSE(waiting.isEnabled);
    EXPECT_EQ(waiting.disabledReason, "잠시 후 다시 시도하세요.");
}

TEST(DisplaySupportSummary, CheckingMonitorHidesEveryControl) {
    MonitorState state;
    state.isChecking = true;
    const auto summary = state.summary(externalDisplay(), true);
    EXPECT_EQ(summary.overallStatus, Status::checking);
    const auto& row = directControlRow(summary);
    EXPECT_EQ(row.technicalDetail, "모니터/케이블에 따라 몇 초 걸릴 수 있습니다.");
    EXPECT_EQ(row.actions.at(0).disabledReason, "이미 확인 중입니다.");
    EXPECT_EQ(summary.wizardSteps[1].id, "direct-control-checking");
}

TEST(DisplaySupportSummary, ConfirmedMonitorOpensOnlyWhatAnswered) {
    const auto display = externalDisplay();
    const auto full =
        afterProbes(display,
                    {probeResult({{DDCVCPCode::brightness, value(DDCVCPCode::brightness)}})})
            .summary(display, false);
    EXPECT_EQ(full.overallStatus, Status::available);
    EXPECT_EQ(directControlRow(full).actions.at(0).title, "직접 조정 열기");
    EXPECT_EQ(full.wizardSteps[1].id, "direct-control-open");

    // Volume and brightness answered, contrast did not: the partial row
    // lists the answered labels by code, whatever order they arrived in.
    const auto partial =
        afterProbes(display,
                    {probeResult({{DDCVCPCode::audioVolume, value(DDCVCPCode::audioVolume)},
                                  {DDCVCPCode::brightness, value(DDCVCPCode::brightness)}},
                                 {{DDCVCPCode::contrast, "응답 없음"}})})
            .summary(display, false);
    const auto& row = directControlRow(partial);
    EXPECT_EQ(row.status, Status::available);
    EXPECT_EQ(row.detail,
              "모니터 밝기처럼 답한 항목만 보여줍니다. 빠진 항목은 경고가 아닙니다. 사용 가능: "
              "모니터 밝기, 모니터 볼륨");
    EXPECT_EQ(row.actions.at(0).title, "확인된 항목 보기");
    EXPECT_EQ(partial.technicalDetails.at(6), "응답 없는 모니터 설정: 모니터 대비");
    EXPECT_EQ(partial.technicalDetails.at(7), "저장된 확인 결과: 가능 2개, 재확인 필요 0개");
}

TEST(DisplaySupportSummary, UnstableMonitorIsLimitedToStableControls) {
    const auto display = externalDisplay();
    auto state =
        afterProbes(display, {probeResult({{DDCVCPCode::brightness, value(DDCVCPCode::brightness)},
                                           {DDCVCPCode::contrast, value(DDCVCPCode::contrast)}}),
                              probeResult({{DDCVCPCode::contrast, value(DDCVCPCode::contrast)}},
                                          {{DDCVCPCode::brightness, "모니터 밝기: 응답 없음"}})});
    // Without a read-out in this run, the labels come from the saved entry.
    state.snapshot = std::nullopt;
    const auto summary = state.summary(display, false);
    EXPECT_EQ(summary.overallStatus, Status::limited);
    const auto& row = directControlRow(summary);
    EXPECT_EQ(row.detail, "일부 항목만 안정적으로 답했습니다. 사용 가능: 모니터 대비");
    EXPECT_EQ(row.actions.at(0).title, "가능한 항목 보기");
    EXPECT_EQ(summary.wizardSteps[1].id, "direct-control-open");
}

TEST(DisplaySupportSummary, UnsupportedMonitorPointsToTheChecklist) {
    const auto display = externalDisplay();
    const auto summary = afterProbes(display, {probeResult({}, {{DDCVCPCode::brightness, "NAK"}})})
                             .summary(display, false);
    EXPECT_EQ(summary.overallStatus, Status::limited);
    const auto& row = directControlRow(summary);
    EXPECT_EQ(row.status, Status::unavailable);
    ASSERT_EQ(row.actions.size(), 2u);
    EXPECT_EQ(row.actions[0].kind, Kind::readOnlyChecklist);
    EXPECT_EQ(row.actions[1].title, "다시 확인");
    const auto& step = summary.wizardSteps[1];
    EXPECT_EQ(step.action, row.actions[0]);
}

TEST(DisplaySupportSummary, TimedOutProbeSettlesThenReadsAsUnsupported) {
    const auto display = externalDisplay();
    auto state = afterProbes(display, {probeResult({}, {}, kTimeoutText)});
    state.snapshot->busCount = 0;

    // While the abandoned probe still runs, the store reports it as checking
    // and busy: nothing can be started.
    state.isChecking = true;
    const auto settling = state.summary(display, true);
    EXPECT_EQ(settling.overallStatus, Status::checking);
    EXPECT_FALSE(directControlRow(settling).actions.at(0).isEnabled);

    state.isChecking = false;
    const auto settled = state.summary(display, false);
    const auto& row = directControlRow(settled);
    EXPECT_EQ(row.status, Status::unavailable);
    EXPECT_EQ(row.technicalDetail->rfind(std::string(kTimeoutText) + " · 마지막 확인: ", 0), 0u);
    EXPECT_TRUE(row.actions.at(1).isEnabled);
    EXPECT_EQ(settled.technicalDetails.at(5), "확인된 모니터 설정: 없음");
    EXPECT_EQ(settled.technicalDetails.at(7), std::string("마지막 확인 결과: ") + kTimeoutText);
}

TEST(DisplaySupportSummary, RecheckAndIdentityAndProfileRows) {
    auto display = externalDisplay();
    auto state = afterProbes(
        display, {probeResult({{DDCVCPCode::brightness, value(DDCVCPCode::brightness)}})});
    display.bounds.width = 1920;  // a new resolution is a new connection
    display.serialNumber = 0;
    state.entry->key.displayIdentityRawValue = DisplayIdentity::of(display).rawValue;

    DisplayIdentityDescriptor descriptor;
    descriptor.displayName = "Studio 27";
    descriptor.alias = "";
    descriptor.confidence = DisplayIdentityConfidence::serialMissing;
    descriptor.reason = "고유 번호가 없습니다.";
    DisplayColorProfileState profiles;
    profiles.availability = DisplayColorProfileState::Availability::unavailable;

    const auto badge = DDCCapabilityBadgeResolver::badge(display, state.entry, false, true, kNow);
    const auto summary =
        Builder::summary(display, badge, state.snapshot, state.entry, false, profiles, descriptor);
    EXPECT_EQ(summary.title, "Studio 27");
    EXPECT_FALSE(summary.hasReliableSerial);
    EXPECT_EQ(summary.overallStatus, Status::needsCheck);
    EXPECT_EQ(directControlRow(summary).actions.at(0).title, "다시 확인");
    EXPECT_EQ(summary.capabilities[3].status, Status::unavailable);
    EXPECT_EQ(summary.wizardSteps[3].status, Status::limited);
    EXPECT_EQ(summary.technicalDetails.back(), "읽은 색상 기준: 0개");

    descriptor.alias = "왼쪽 모니터";
    descriptor.confidence = DisplayIdentityConfidence::ambiguous;
    const auto ambiguous = Builder::summary(display, badge, state.snapshot, state.entry, false,
                                            std::nullopt, descriptor);
    EXPECT_EQ(ambiguous.title, "왼쪽 모니터");
    EXPECT_EQ(ambiguous.capabilities[4].status, Status::limited);
    EXPECT_NE(ambiguous.wizardSteps[2].title, summary.wizardSteps[2].title);
    EXPECT_EQ(ambiguous.wizardSteps[3].status, Status::informational);
}

}  // namespace
}  // namespace quorvane
